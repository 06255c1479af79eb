#include "app/user_guide.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QWidget>

namespace guide {

namespace {

const QString indexFile = QStringLiteral("index.md");

bool holdsGuide(const QString& dir) {
    return !dir.isEmpty() && QFileInfo::exists(QDir(dir).filePath(indexFile));
}

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// A line as a reader sees it: without heading and list marks, emphasis,
// code quotes and the targets of links and pictures.
QString plainLine(QString line) {
    static const QRegularExpression picture(QStringLiteral("!\\[([^\\]]*)\\]\\([^)]*\\)"));
    static const QRegularExpression link(QStringLiteral("\\[([^\\]]*)\\]\\([^)]*\\)"));
    static const QRegularExpression leading(QStringLiteral("^\\s*(#+|[-*>]|\\d+\\.)\\s+"));
    line.replace(picture, QStringLiteral("\\1"));
    line.replace(link, QStringLiteral("\\1"));
    line.remove(leading);
    line.remove(QLatin1Char('*'));
    line.remove(QLatin1Char('`'));
    return line.trimmed();
}

// Which page tells about which window, by the window's object name.
struct WindowPage {
    const char* window;
    const char* page;
};
constexpr WindowPage windowPages[] = {
    {"FrmLogin", "first-use.md"},
    {"FrmChangePassword", "first-use.md"},
    {"FrmUsers", "first-use.md"},
    {"FrmSystemSet", "first-use.md"},
    {"FrmCust", "members.md"},
    {"FrmKind", "members.md"},
    {"FrmName", "members.md"},
    {"FrmCustHistory", "members.md"},
    {"TFrmSavedSearches", "members.md"},
    {"FrmPrint", "printing.md"},
    {"FrmCustomerFromExcel", "import.md"},
    {"FrmImportPreview", "import.md"},
    {"FrmSendMessage", "sms.md"},
    {"FrmCustRegister", "sms.md"},
    {"FrmNormal", "sms.md"},
    {"FrmSendHistory", "sms.md"},
    {"FrmSmsPreview", "sms.md"},
    {"FrmRestore", "backup.md"},
};

} // namespace

QString folder() {
    const QString chosen = qEnvironmentVariable("LUNMARK_GUIDE_DIR");
    if (!chosen.isEmpty())
        return holdsGuide(chosen) ? QDir(chosen).absolutePath() : QString();
    // The running program, found without an application object (--help).
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    const QString installed =
        QFileInfo(program).dir().filePath(QStringLiteral("../share/lunmark/guide"));
    if (holdsGuide(installed))
        return QDir(installed).canonicalPath();
#ifdef LUNMARK_GUIDE_SOURCE
    if (holdsGuide(QStringLiteral(LUNMARK_GUIDE_SOURCE)))
        return QStringLiteral(LUNMARK_GUIDE_SOURCE);
#endif
    return {};
}

QList<Page> pages(const QString& folder) {
    static const QRegularExpression entry(QStringLiteral("\\[([^\\]]+)\\]\\(([\\w-]+\\.md)\\)"));
    QList<Page> found;
    const QString index = readText(QDir(folder).filePath(indexFile));
    for (auto match = entry.globalMatch(index); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        found.append({m.captured(2), m.captured(1)});
    }
    return found;
}

QStringList sections(const QString& pageFile) {
    QStringList headings;
    for (const QString& line : readText(pageFile).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("## ")))
            headings.append(plainLine(line));
    return headings;
}

QString pageFor(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget())
        for (const WindowPage& known : windowPages)
            if (w->objectName() == QLatin1String(known.window))
                return QLatin1String(known.page);
    return indexFile;
}

QList<Hit> search(const QString& folder, const QString& words) {
    const QStringList wanted =
        words.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    QList<Hit> hits;
    if (wanted.isEmpty())
        return hits;
    for (const Page& page : pages(folder)) {
        const QString text = readText(QDir(folder).filePath(page.file));
        const bool all = std::all_of(wanted.begin(), wanted.end(), [&](const QString& word) {
            return text.contains(word, Qt::CaseInsensitive);
        });
        if (!all)
            continue;
        Hit hit{page.file, page.title, {}, {}};
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("## ")))
                hit.section = plainLine(line);
            if (line.contains(wanted.first(), Qt::CaseInsensitive)) {
                hit.excerpt = plainLine(line);
                break;
            }
        }
        hits.append(hit);
    }
    return hits;
}

} // namespace guide
