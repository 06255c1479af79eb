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
        R"(addMenu|addSubmenu|addButton|addKey|setLabelText|message|question)\(([^;]*))"));
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
    };
    for (const auto& c : cases) {
        const QString source = QString::fromUtf8(c.source);
        bool english = false;
        for (const QString& text : shownTexts(source) + filterTitles(source))
            english = english || !englishWords(text).isEmpty();
        EXPECT_EQ(english, c.english) << c.source;
    }
}

} // namespace
