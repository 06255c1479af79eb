// What the user reads is Chinese: window titles, labels, buttons, check
// boxes, tabs, tooltips, menu items, message boxes and file-dialog filters
// hold no English words in the program's sources, apart from the names of
// products, file types and keys, which have no Chinese form.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

const char* const kFolders[] = {"base", "db", "admin", "members", "sms", "documents", "app"};

// Names that stay as they are.
const QStringList& allowedWords() {
    static const QStringList words{
        QStringLiteral("Excel"), QStringLiteral("Office"), QStringLiteral("Word"),
        QStringLiteral("CSV"),   QStringLiteral("PDF"),    QStringLiteral("Esc"),
        QStringLiteral("Ctrl"),  QStringLiteral("Enter"),  QStringLiteral("KB"),
        QStringLiteral("MB"),    QStringLiteral("GB"),     QStringLiteral("TB")};
    return words;
}

// The English words left in a visible text, or nothing.
QStringList englishWords(const QString& text) {
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
    QStringList found;
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const QString w = it.next().captured();
        if (!allowedWords().contains(w))
            found << w;
    }
    return found;
}

// The literal texts handed to calls that show them. A literal passed to any
// other call on the way (a column name, a settings key) is not shown.
QStringList shownTexts(const QString& source) {
    static const QRegularExpression call(QStringLiteral(
        R"(\b(setWindowTitle|setText|setToolTip|setPlaceholderText|addTab|)"
        R"(QPushButton|QCheckBox|QLabel|QGroupBox|QRadioButton|addItem|addAction|)"
        R"(addMenu|addSubmenu|addButton|addKey|setLabelText|message|question|askToSave)\(([^;]*))"));
    static const QRegularExpression literal(
        QStringLiteral(R"re((\w*)\(?\s*QStringLiteral\(\s*"((?:[^"\\]|\\.)*)"\))re"));
    QStringList texts;
    for (auto calls = call.globalMatch(source); calls.hasNext();) {
        const QString arguments = calls.next().captured(2);
        for (auto it = literal.globalMatch(arguments); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            // Handed to another function first (its name before it): not shown.
            if (m.captured(1).isEmpty())
                texts << m.captured(2);
        }
    }
    return texts;
}

// Every file-dialog filter: a literal with a "(*." pattern list; only the
// titles before the patterns are read.
QStringList filterTitles(const QString& source) {
    static const QRegularExpression filter(
        QStringLiteral(R"re(QStringLiteral\("([^"]*\(\*\.[^"]*)"\))re"));
    static const QRegularExpression patterns(QStringLiteral(R"re(\([^)]*\))re"));
    QStringList titles;
    for (auto it = filter.globalMatch(source); it.hasNext();) {
        QString text = it.next().captured(1);
        titles << text.remove(patterns);
    }
    return titles;
}

// Message boxes and dialogs that would show an empty title (the window
// manager then writes the program's file name, or "···") or Qt's English
// one: a blank caption handed to a title or a prompt, Qt's ready-made boxes
// and dialogs (their titles and buttons are Qt's), and a dialog made in a
// file that never gives a window its title.
QStringList untitled(const QString& source) {
    static const QRegularExpression blank(QStringLiteral(
        R"re(\b(setWindowTitle|message|question|askToSave)\(\s*(Prompt::Icon::\w+\s*,\s*)?)re"
        R"re((QString\(\)|\{\}|""|QStringLiteral\(""\)|QLatin1String\(""\))\s*[,)])re"));
    static const QRegularExpression readyMade(QStringLiteral(
        R"re(\b(QMessageBox::(information|warning|critical|question|about|aboutQt)|)re"
        R"re(QInputDialog::get\w+|QFileDialog::get\w+|QColorDialog::getColor|)re"
        R"re(QFontDialog::getFont)\s*\()re"));
    static const QString dialogs = QStringLiteral(
        "(QMessageBox|QProgressDialog|QInputDialog|QColorDialog|QFontDialog|QFileDialog|"
        "QPrintDialog|QPageSetupDialog|QPrintPreviewDialog|QErrorMessage|QDialog)");
    static const QRegularExpression made(
        QStringLiteral(R"re(new\s+%1\s*\(|make_unique<\s*%1\s*>|)re"
                       R"re(\b%1\s+\w+\s*[({])re")
            .arg(dialogs));
    QStringList found;
    for (auto it = blank.globalMatch(source); it.hasNext();)
        found << it.next().captured(0);
    for (auto it = readyMade.globalMatch(source); it.hasNext();)
        found << it.next().captured(0);
    if (!source.contains(QStringLiteral("setWindowTitle("))) {
        for (auto it = made.globalMatch(source); it.hasNext();)
            found << it.next().captured(0);
    }
    return found;
}

TEST(VisibleTexts, ChineseIsAllTheUserReads) {
    int files = 0;
    for (const char* folder : kFolders) {
        QDirIterator it(QStringLiteral(LUNMARK_SOURCE_DIR "/") + QLatin1String(folder),
                        {QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
            const QString source = QString::fromUtf8(file.readAll());
            ++files;
            for (const QString& text : shownTexts(source) + filterTitles(source))
                EXPECT_TRUE(englishWords(text).isEmpty())
                    << path.toStdString() << ": \"" << text.toStdString() << '"';
            for (const QString& call : untitled(source))
                ADD_FAILURE() << path.toStdString() << ": no Chinese title: " << call.toStdString();
        }
    }
    EXPECT_GT(files, 50) << "the sources were not found";
}

// The reading itself, on texts of each kind.
TEST(VisibleTexts, FindsEnglishWhereItIsShown) {
    const struct {
        const char* source;
        bool english;
    } cases[] = {
        {R"src(setWindowTitle(QStringLiteral("Import"));)src", true},
        {R"src(addKey("BitOK", QStringLiteral("OK"));)src", true},
        {R"src(new QPushButton(QStringLiteral("確定"), this);)src", false},
        {R"src(message(Prompt::Icon::Warning, caption,
                 QStringLiteral("Done!"));)src",
         true},
        {R"src(m_footer->setText(columnOf(QStringLiteral("name")), QString::number(n));)src",
         false},
        {R"src(return QStringLiteral("Excel CSV file(*.xls *.csv);;All Files(*.*)");)src", true},
        {R"src(return QStringLiteral("Excel 或 CSV 檔案 (*.xls *.csv);;所有檔案 (*)");)src", false},
        {R"src(setToolTip(QStringLiteral("%1 (Esc)").arg(caption));)src", false},
        {R"src(db::run(QStringLiteral("select * from Cust"));)src", false},
        {R"src(message(Prompt::Icon::Information, QStringLiteral("Saved"), text);)src", true},
        {R"src(askToSave(QStringLiteral("Members"), kUnsaved);)src", true},
    };
    for (const auto& c : cases) {
        const QString source = QString::fromUtf8(c.source);
        bool english = false;
        for (const QString& text : shownTexts(source) + filterTitles(source))
            english = english || !englishWords(text).isEmpty();
        EXPECT_EQ(english, c.english) << c.source;
    }
}

// The reading of titles, on sources of each kind.
TEST(VisibleTexts, FindsDialogsWithoutATitle) {
    const struct {
        const char* source;
        bool untitled;
    } cases[] = {
        {R"src(Prompt::current().message(Prompt::Icon::Information, QString(), text);)src", true},
        {R"src(Prompt::current().question({}, QStringLiteral("要取消嗎﹖"));)src", true},
        {R"src(box.setWindowTitle(QStringLiteral(""));)src", true},
        {R"src(Prompt::current().message(Prompt::Icon::Information, kCaption, text);)src", false},
        {R"src(QMessageBox::information(this, QStringLiteral("提示"), text);)src", true},
        {R"src(const QString name = QInputDialog::getText(this, title, label);)src", true},
        {R"src(QString f = QFileDialog::getOpenFileName(this);)src", true},
        {R"src(m_dialog = std::make_unique<QProgressDialog>(owner);)src", true},
        {R"src(m_dialog = std::make_unique<QProgressDialog>(owner);
               m_dialog->setWindowTitle(QStringLiteral("數據導入"));)src",
         false},
        {R"src(QPrintPreviewDialog dialog(&printer, parent);)src", true},
        {R"src(void startAt(QFileDialog& dialog, const QString& start) {)src", false},
        {R"src(auto* d = qobject_cast<QFileDialog*>(widget);)src", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(!untitled(QString::fromUtf8(c.source)).isEmpty(), c.untitled) << c.source;
}

} // namespace
