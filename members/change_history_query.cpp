#include "members/change_history_query.h"

#include "db/change_history.h"
#include "db/display_text.h"

#include <QDateTime>

namespace members::changes {

QStringList statementLines(const Filter& filter) {
    QStringList lines{QStringLiteral("SELECT ID, ChangeTime, UserID, Host, CustID, CustRowid, "
                                     "Action, Field, OldValue, NewValue, BatchID,"),
                      QStringLiteral("       coalesce(Field, '*' || Action) AS FieldShown"),
                      QStringLiteral("  FROM CustHistory WHERE 1 = 1")};
    // Without a member, an import is its batch record alone.
    lines << (filter.member.isEmpty() ? QStringLiteral("   AND BatchID IS NULL")
                                      : QStringLiteral("   AND CustID = :Member"));
    if (filter.from)
        lines << QStringLiteral("   AND ChangeTime >= :From");
    if (filter.to)
        lines << QStringLiteral("   AND ChangeTime < :Before");
    if (!filter.user.isEmpty())
        lines << QStringLiteral("   AND UserID = :User");
    lines << QStringLiteral(" ORDER BY ChangeTime DESC, ID DESC LIMIT %1").arg(kShownRecords);
    return lines;
}

QVariantMap statementParams(const Filter& filter) {
    QVariantMap params;
    if (!filter.member.isEmpty())
        params.insert(QStringLiteral("Member"), filter.member);
    if (filter.from)
        params.insert(QStringLiteral("From"),
                      db::history::timeText(QDateTime(*filter.from, QTime(0, 0))));
    if (filter.to)
        params.insert(QStringLiteral("Before"),
                      db::history::timeText(QDateTime(filter.to->addDays(1), QTime(0, 0))));
    if (!filter.user.isEmpty())
        params.insert(QStringLiteral("User"), filter.user);
    return params;
}

QString fieldCaption(const QString& column, const search::Captions& captions) {
    static const struct {
        const char* column;
        const char* caption;
    } fixed[] = {{"id", "編號"},           {"name", "姓名"},          {"Name1", "稱謂"},
                 {"Tel", "電話"},          {"CDTel", "行動電話"},     {"HomeTel", "家裡電話"},
                 {"Fax", "傳真"},          {"birthday", "生日"},      {"MGBirthday", "生日(民國)"},
                 {"Identity", "身份証號"}, {"Address", "地址"},       {"Memo5", "經歷"},
                 {"photo", "照片"},        {"isEnabled", "有效會員"}, {"IsSelected", "選取"}};
    for (const auto& entry : fixed) {
        if (column.compare(QLatin1String(entry.column), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(entry.caption);
    }
    auto is = [&column](const char* name) {
        return column.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    };
    if (is("Kind"))
        return captions.category;
    if (is("EnterDate"))
        return captions.enterDate;
    if (is("date1"))
        return captions.date1;
    const char* memoColumns[] = {"Memo", "Memo1", "Memo2", "Memo3", "Memo4"};
    for (int i = 0; i < 5 && i < captions.memos.size(); ++i) {
        if (is(memoColumns[i]))
            return captions.memos.at(i);
    }
    return column;
}

QString shownField(const QString& shown, const search::Captions& captions) {
    if (!shown.startsWith('*'))
        return fieldCaption(shown, captions);
    const QString action = shown.mid(1);
    if (action == QLatin1String(db::history::kInsert))
        return QStringLiteral("(新增會員)");
    if (action == QLatin1String(db::history::kDelete))
        return QStringLiteral("(刪除會員)");
    if (action == QLatin1String(db::history::kImport))
        return QStringLiteral("(匯入)");
    if (action == QLatin1String(db::history::kRevert))
        return QStringLiteral("(還原會員)");
    return QString();
}

QString valueText(const QVariant& value) {
    const QString text = value.toString();
    if (!text.startsWith('{'))
        return text;
    const QVariantMap row = db::history::rowFromText(text);
    return QStringLiteral("%1 %2").arg(row.value(QStringLiteral("id")).toString(),
                                       row.value(QStringLiteral("name")).toString());
}

} // namespace members::changes
