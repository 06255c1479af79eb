#include "documents/document_statements.h"

#include "base/errors.h"
#include "base/text_helpers.h"
#include "db/like_pattern.h"

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
    return {QStringLiteral("select * from File "),
            QStringLiteral(" Where name like :Name") + db::kLikeEscape,
            QStringLiteral(" And ContentNo like :ContentNo") + db::kLikeEscape};
}

QVariantMap quickSearchParams(const QString& name, const QString& contentNo) {
    return {{QStringLiteral("Name"), containsPattern(name)},
            {QStringLiteral("ContentNo"), containsPattern(contentNo)}};
}

QStringList detailedSearchStatement() {
    return {QStringLiteral("select Date1,Name,Kind,ContentNo,ContentName,Memo,Path1 from File "),
            QStringLiteral(" Where name like :Name") + db::kLikeEscape,
            QStringLiteral(" And Kind like :Kind") + db::kLikeEscape,
            QStringLiteral(" And ContentNo like :ContentNo") + db::kLikeEscape,
            QStringLiteral(" And ContentName like :ContentName") + db::kLikeEscape,
            QStringLiteral(" And Date1 Between :BgnDate and :EndDate"),
            QStringLiteral(" And Memo like :Memo") + db::kLikeEscape};
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
    return QLatin1Char('%') + db::likeKeepingWildcards(trimBlanks(text)) + QLatin1Char('%');
}

QString dayStart(const QDate& day) {
    return checkedDayText(day, "00:00:00");
}

QString dayEnd(const QDate& day) {
    return checkedDayText(day, "23:59:59");
}

} // namespace documents
