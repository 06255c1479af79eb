#include "members/report/label_paper_dialog.h"

#include "members/report/label_paper.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr const char* kPaperProperty = "labelPaper";

} // namespace

TFrmPrint::TFrmPrint(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmPrint"));
    setWindowTitle(QStringLiteral("標籤列印"));
    // A caption without title-bar buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    m_options = new QGroupBox(QStringLiteral("列印選項"), this);
    auto* choices = new QVBoxLayout(m_options);
    auto* group = new QButtonGroup(this);
    const std::pair<const char16_t*, int> papers[] = {
        {u"A4 標籤紙(2*10張)", 4}, {u"A4 標籤紙(2*20張)", 5}, {u"A4 標籤紙(3*10張)", 1},
        {u"A4 標籤紙(3*20張)", 2}, {u"12cm*2.54cm", 3},
    };
    for (const auto& [text, paper] : papers) {
        QRadioButton* choice = addChoice(QString::fromUtf16(text), paper);
        group->addButton(choice);
        choices->addWidget(choice);
    }
    m_choices.first()->setChecked(true);

    auto* start = new QHBoxLayout;
    start->addWidget(new QLabel(QStringLiteral("從第"), this));
    m_firstLabel = new QSpinBox(this);
    m_firstLabel->setObjectName(QStringLiteral("firstLabel"));
    start->addWidget(m_firstLabel);
    start->addWidget(new QLabel(QStringLiteral("張標籤開始列印"), this));
    start->addStretch(1);
    fitFirstLabel();
    connect(group, &QButtonGroup::buttonToggled, this, [this] { fitFirstLabel(); });

    BitBtn1 = new QPushButton(QStringLiteral("列印"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("取消"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        m_printChosen = true;
        accept();
    });
    connect(BitBtn2, &QPushButton::clicked, this, [this] {
        m_printChosen = false;
        reject();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_options);
    layout->addLayout(start);
    layout->addLayout(buttons);
}

// Centred on the screen, not on the window that opened it.
void TFrmPrint::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous() && screen() != nullptr)
        move(screen()->availableGeometry().center() - rect().center());
}

QRadioButton* TFrmPrint::addChoice(const QString& text, int paper) {
    auto* choice = new QRadioButton(text, m_options);
    choice->setProperty(kPaperProperty, paper);
    m_choices << choice;
    return choice;
}

int TFrmPrint::paper() const {
    for (QRadioButton* choice : m_choices) {
        if (choice->isChecked())
            return choice->property(kPaperProperty).toInt();
    }
    return 0;
}

int TFrmPrint::firstLabel() const {
    return m_firstLabel->value();
}

// The first label can be any label of one sheet of the chosen paper.
void TFrmPrint::fitFirstLabel() {
    const int paper = this->paper();
    if (paper == 0)
        return;
    m_firstLabel->setRange(1, members::report::labelsPerSheet(members::report::labelPaper(paper)));
}

LabelPaperChoice ChooseLabelPaper(QWidget* parent) {
    TFrmPrint dialog(parent);
    dialog.exec();
    if (!dialog.printChosen())
        return {};
    return {dialog.paper(), dialog.firstLabel()};
}
