#include "sms/message_history.h"

#include "db/connection.h"
#include "db/like_pattern.h"

namespace sms::history {

QString cutToFit(const QString& text, int length) {
    if (text.size() <= length)
        return text;
    qsizetype end = length;
    if (text.at(end - 1).isHighSurrogate())
        --end;
    return text.left(end);
}

// RETURNING gives the new row's counter on both engines.
qint64 record(const SentMessage& sent) {
    QSqlQuery inserted = db::run(
        QStringLiteral("Insert into MessageHistory(CustName,Tel,Message,SendDate,Sign,Memo) "
                       "values(:CustName,:Tel,:Message,:SendDate,:Sign,:Memo) returning ID"),
        {{QStringLiteral("CustName"), sent.name},
         {QStringLiteral("Tel"), sent.phone},
         {QStringLiteral("Message"), sent.message},
         {QStringLiteral("SendDate"), sent.sentAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))},
         {QStringLiteral("Sign"), sent.sign},
         {QStringLiteral("Memo"), cutToFit(sent.memo, kMemoLength)}});
    return inserted.next() ? inserted.value(0).toLongLong() : 0;
}

void setMemo(qint64 id, const QString& memo) {
    db::run(QStringLiteral("update MessageHistory set Memo=:Memo where ID=:ID"),
            {{QStringLiteral("Memo"), cutToFit(memo, kMemoLength)}, {QStringLiteral("ID"), id}});
}

void forget(qint64 id) {
    db::run(QStringLiteral("delete from MessageHistory where ID=:ID"),
            {{QStringLiteral("ID"), id}});
}

QStringList searchLines() {
    return {QStringLiteral("select * From MessageHistory "),
            QStringLiteral(" Where CustName like :CustName") + db::kLikeEscape,
            QStringLiteral(" And SendDate between :BgnDate and :EndDate"),
            QStringLiteral("  order by SendDate Desc LIMIT 300")};
}

QVariantMap searchParams(const Filter& filter) {
    return {{QStringLiteral("CustName"),
             '%' + db::likeKeepingWildcards(filter.recipient.trimmed()) + '%'},
            {QStringLiteral("BgnDate"),
             filter.from.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00")},
            {QStringLiteral("EndDate"),
             filter.to.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 23:59:59")}};
}

QDate firstOfMonth(const QDate& day) {
    return QDate(day.year(), day.month(), 1);
}

} // namespace sms::history
