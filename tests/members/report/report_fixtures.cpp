#include "tests/members/report/report_fixtures.h"

#include "members/report/label_paper.h"
#include "tests/members/report/pdf_reader.h"
#include "tests/support/modal.h"

#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <map>

using namespace members::report;

RecordedReports::RecordedReports() {
    m_previous =
        setPresenter([this](const Report& report, QWidget*) { reports.push_back(report); });
}

RecordedReports::~RecordedReports() {
    setPresenter(m_previous);
}

void choosePaperWhenAsked(const QString& choiceText, int firstLabel) {
    whenModalShows([choiceText, firstLabel](QWidget* dialog) {
        for (QRadioButton* choice : dialog->findChildren<QRadioButton*>()) {
            if (choice->text() == choiceText)
                choice->setChecked(true);
        }
        dialog->findChild<QSpinBox*>(QStringLiteral("firstLabel"))->setValue(firstLabel);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("BitBtn1")),
                          Qt::LeftButton);
    });
}

QStringList namesInReadingOrder(const QString& pdfPath, const QStringList& names) {
    const QRegularExpression name(names.join(QLatin1Char('|')));
    QStringList found;
    for (const QString& page : pdf::pageTexts(pdfPath)) {
        for (const QRegularExpressionMatch& match : name.globalMatch(page))
            found << match.captured(0);
    }
    return found;
}

QStringList namesInLabelOrder(const QString& pdfPath, int choice, const QStringList& names) {
    const LabelPaper& paper = labelPaper(choice);
    std::map<int, QString> byLabel;
    for (const pdf::Word& word : pdf::words(pdfPath)) {
        if (!names.contains(word.text))
            continue;
        for (int slot = 0; slot < labelsPerSheet(paper); ++slot) {
            if (boxOnPaper(paper, slot, paper.nameBox).contains(word.box.center()))
                byLabel[word.page * labelsPerSheet(paper) + slot] = word.text;
        }
    }
    QStringList found;
    for (const auto& [label, name] : byLabel)
        found << name;
    return found;
}
