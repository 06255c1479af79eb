#include "tests/members/report/pdf_reader.h"

#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <stdexcept>

namespace pdf {

namespace {

constexpr qreal kMmPerPoint = 25.4 / 72.0;

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0) {
        throw std::runtime_error(
            QStringLiteral("%1 failed: %2")
                .arg(program, QString::fromLocal8Bit(process.readAllStandardError()))
                .toStdString());
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList splitPages(const QString& text) {
    QStringList pages = text.split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QString info(const QString& path, const QString& key) {
    const QString text = run(QStringLiteral("pdfinfo"), {path});
    const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(key),
                                  QRegularExpression::MultilineOption);
    return line.match(text).captured(1).trimmed();
}

} // namespace

QStringList pageTexts(const QString& path) {
    return splitPages(
        run(QStringLiteral("pdftotext"),
            {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")}));
}

QStringList layoutTexts(const QString& path) {
    return splitPages(
        run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                          QStringLiteral("UTF-8"), path, QStringLiteral("-")}));
}

int pageCount(const QString& path) {
    return info(path, QStringLiteral("Pages")).toInt();
}

QSizeF pageSizeMm(const QString& path) {
    const QRegularExpression size(QStringLiteral("([0-9.]+) x ([0-9.]+) pts"));
    const QRegularExpressionMatch match = size.match(info(path, QStringLiteral("Page size")));
    return QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()) * kMmPerPoint;
}

std::vector<Word> words(const QString& path) {
    QXmlStreamReader xml(
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-enc"),
                                          QStringLiteral("UTF-8"), path, QStringLiteral("-")}));
    std::vector<Word> found;
    int page = -1;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page")) {
            ++page;
        } else if (xml.name() == QLatin1String("word")) {
            const auto at = [&](const char* name) {
                return xml.attributes().value(QLatin1String(name)).toDouble() * kMmPerPoint;
            };
            const QRectF box(QPointF(at("xMin"), at("yMin")), QPointF(at("xMax"), at("yMax")));
            found.push_back({page, xml.readElementText(), box});
        }
    }
    return found;
}

} // namespace pdf
