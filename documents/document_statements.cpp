#include "documents/document_statements.h"

#include "base/errors.h"
#include "base/text_helpers.h"

namespace documents {
namespace {

QString checkedDayText(const QDate& day, const char* time) {
    if (!day.isValid())
        throw ConversionError(QStringLiteral("'' 不是有效的日期"));
    return day.toString(QStringLiteral("yyyy-MM-dd ")) + QLatin1String(time);
}

} // namespace

QStringList allFilesStatement() {
    return {QStringLiteral("select * from File")};
}

QStringList quickSearchStatement() {
    return {QStringLiteral("select * from File "), QStringLiteral(" Where name like :Name"),
            QStringLiteral(" And ContentNo like :ContentNo")};
}

QVariantMap quickSearchParams(const QString& name, const QString& contentNo) {
    return {{QStringLiteral("Name"), containsPattern(name)},
            {QStringLiteral("ContentNo"), containsPattern(contentNo)}};
}

QStringList detailedSearchStatement() {
    return {QStringLiteral("select Date1,Name,Kind,ContentNo,ContentName,Memo,Path1 from File "),
            QStringLiteral(" Where name like :Name"),
            QStringLiteral(" And Kind like :Kind"),
            QStringLiteral(" And ContentNo like :ContentNo"),
            QStringLiteral(" And ContentName like :ContentName"),
            QStringLiteral(" And Date1 Between :BgnDate and :EndDate"),
            QStringLiteral(" And Memo like :Memo")};
}

QVariantMap detailedSearchParams(const DetailedSearch& search) {
    return {{QStringLiteral("Name"), containsPattern(search.name)},
            {QStringLiteral("Kind"), containsPattern(search.kind)},
            {QStringLiteral("ContentNo"), containsPattern(search.contentNo)},
            {QStringLiteral("ContentName"), containsPattern(search.contentName)},
            {QStringLiteral("BgnDate"), dayStart(search.from)},
            {QStringLiteral("EndDate"), dayEnd(search.to)},
            {QStringLiteral("Memo"), containsPattern(search.memo)}};
}

QString containsPattern(const QString& text) {
    return QLatin1Char('%') + trimBlanks(text) + QLatin1Char('%');
}

QString dayStart(const QDate& day) {
    return checkedDayText(day, "00:00:00");
}

QString dayEnd(const QDate& day) {
    return checkedDayText(day, "23:59:59");
}

} // namespace documents
