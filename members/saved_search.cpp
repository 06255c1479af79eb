#include "members/saved_search.h"

#include "base/errors.h"
#include "db/connection.h"

#include <QSqlQuery>

namespace members::saved {
namespace {

std::function<QDate()>& clock() {
    static std::function<QDate()> replaced;
    return replaced;
}

struct BuiltInName {
    BuiltIn kind;
    const char* name;
};

const BuiltInName kBuiltIns[] = {
    {BuiltIn::TodaysBirthdays, "今日壽星"},
    {BuiltIn::ThisMonthsBirthdays, "本月壽星"},
    {BuiltIn::NextMonthsBirthdays, "下月壽星"},
    {BuiltIn::JoinedThisYear, "今年入會"},
};

const QString kColumns = QStringLiteral(
    "Name, Criterion, Value, Upper, Year, Month, Day, ActiveMembers, SortField, SortDescending");

SavedSearch readRow(const QSqlQuery& query) {
    SavedSearch search;
    auto text = [&](int column) { return query.value(column).toString(); };
    search.name = text(0);
    search.input.criterion = query.value(1).toInt();
    search.input.value = text(2);
    search.input.upper = text(3);
    search.input.year = text(4);
    search.input.month = text(5);
    search.input.day = text(6);
    search.activeMembers = query.value(7).toInt() != 0;
    search.sortField = text(8);
    search.sortDescending = query.value(9).toInt() != 0;
    return search;
}

bool isStored(const QString& name) {
    QSqlQuery query = db::run(QStringLiteral("select count(*) from SavedSearch where Name = :Name"),
                              {{QStringLiteral("Name"), name}});
    return query.next() && query.value(0).toInt() > 0;
}

QString alreadyTaken(const QString& name) {
    return QStringLiteral("已有名為「%1」的常用查詢").arg(name);
}

// Born on the day: a member born on 29 February is listed on 28 February in
// the years without one.
search::Clause todaysBirthdays(const QDate& today) {
    const int leapDay = today.month() == 2 && today.day() == 28 && !QDate::isLeapYear(today.year())
                            ? 29
                            : today.day();
    return {QStringLiteral("and month(Birthday) = :Month and (day(Birthday) = :Day or "
                           "day(Birthday) = :LeapDay) order by id"),
            {{QStringLiteral("Month"), today.month()},
             {QStringLiteral("Day"), today.day()},
             {QStringLiteral("LeapDay"), leapDay}}};
}

// Born in the month, in the order of the day of birth.
search::Clause monthsBirthdays(int month) {
    return {QStringLiteral("and month(Birthday) = :Month order by day(Birthday), id"),
            {{QStringLiteral("Month"), month}}};
}

// The joining date is stored as typed, its year in the Minguo calendar.
search::Clause joinedInYear(const QDate& today) {
    search::Input input;
    input.criterion = search::JoiningDate;
    input.year = QString::number(today.year() - 1911);
    return search::criterionClause(input);
}

} // namespace

QDate today() {
    return clock() ? clock()() : QDate::currentDate();
}

void setClock(std::function<QDate()> replacement) {
    clock() = std::move(replacement);
}

QList<SavedSearch> builtInSearches() {
    QList<SavedSearch> searches;
    for (const BuiltInName& builtIn : kBuiltIns) {
        SavedSearch search;
        search.name = QString::fromUtf8(builtIn.name);
        search.builtIn = builtIn.kind;
        searches << search;
    }
    return searches;
}

QList<SavedSearch> storedSearches() {
    QSqlQuery query =
        db::run(QStringLiteral("select %1 from SavedSearch order by Name").arg(kColumns));
    QList<SavedSearch> searches;
    while (query.next())
        searches << readRow(query);
    return searches;
}

QList<SavedSearch> allSearches() {
    return builtInSearches() + storedSearches();
}

std::optional<SavedSearch> findSearch(const QString& name) {
    const QString wanted = name.trimmed();
    for (const SavedSearch& search : builtInSearches()) {
        if (search.name == wanted)
            return search;
    }
    QSqlQuery query =
        db::run(QStringLiteral("select %1 from SavedSearch where Name = :Name").arg(kColumns),
                {{QStringLiteral("Name"), wanted}});
    if (query.next())
        return readRow(query);
    return std::nullopt;
}

std::optional<QString> nameRefusal(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("請輸入查詢名稱");
    if (trimmed.size() > kMaxNameLength)
        return QStringLiteral("查詢名稱最多 %1 個字").arg(kMaxNameLength);
    for (const SavedSearch& search : builtInSearches()) {
        if (search.name == trimmed)
            return QStringLiteral("「%1」是內建的查詢﹐請用別的名稱").arg(trimmed);
    }
    return std::nullopt;
}

void saveSearch(const SavedSearch& search, bool replace) {
    if (const std::optional<QString> refusal = nameRefusal(search.name))
        throw DatabaseError(*refusal);
    const QString name = search.name.trimmed();
    db::Transaction transaction(db::Transaction::Kind::Write);
    if (isStored(name)) {
        if (!replace)
            throw DatabaseError(alreadyTaken(name));
        db::run(QStringLiteral("delete from SavedSearch where Name = :Name"),
                {{QStringLiteral("Name"), name}});
    }
    const search::Input& input = search.input;
    db::run(QStringLiteral("insert into SavedSearch(%1) values(:Name, :Criterion, :Value, :Upper, "
                           ":Year, :Month, :Day, :ActiveMembers, :SortField, :SortDescending)")
                .arg(kColumns),
            {{QStringLiteral("Name"), name},
             {QStringLiteral("Criterion"), input.criterion},
             {QStringLiteral("Value"), input.value},
             {QStringLiteral("Upper"), input.upper},
             {QStringLiteral("Year"), input.year},
             {QStringLiteral("Month"), input.month},
             {QStringLiteral("Day"), input.day},
             {QStringLiteral("ActiveMembers"), search.activeMembers},
             {QStringLiteral("SortField"), search.sortField},
             {QStringLiteral("SortDescending"), search.sortDescending}});
    transaction.commit();
}

void renameSearch(const QString& from, const QString& to) {
    if (const std::optional<QString> refusal = nameRefusal(to))
        throw DatabaseError(*refusal);
    const QString name = to.trimmed();
    db::Transaction transaction(db::Transaction::Kind::Write);
    if (!isStored(from))
        throw DatabaseError(
            QStringLiteral("找不到常用查詢「%1」﹐可能已被另一台電腦刪除").arg(from));
    if (name.compare(from, Qt::CaseInsensitive) != 0 && isStored(name))
        throw DatabaseError(alreadyTaken(name));
    db::run(QStringLiteral("update SavedSearch set Name = :To where Name = :From"),
            {{QStringLiteral("To"), name}, {QStringLiteral("From"), from}});
    transaction.commit();
}

void deleteSearch(const QString& name) {
    db::run(QStringLiteral("delete from SavedSearch where Name = :Name"),
            {{QStringLiteral("Name"), name}});
}

search::Clause clauseOf(const SavedSearch& search) {
    const QDate day = today();
    switch (search.builtIn) {
    case BuiltIn::TodaysBirthdays:
        return todaysBirthdays(day);
    case BuiltIn::ThisMonthsBirthdays:
        return monthsBirthdays(day.month());
    case BuiltIn::NextMonthsBirthdays:
        return monthsBirthdays(day.addMonths(1).month());
    case BuiltIn::JoinedThisYear:
        return joinedInYear(day);
    case BuiltIn::None:
        break;
    }
    const search::Bounds range =
        search.input.criterion == search::Number
            ? search::numberRange(search.input, search::memberNumberBounds())
            : search::Bounds{};
    return search::criterionClause(search.input, range);
}

search::Statement memberStatementOf(const SavedSearch& search) {
    return search::memberStatement(clauseOf(search), search.activeMembers);
}

} // namespace members::saved
