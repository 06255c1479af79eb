#include "members/member_search.h"

#include "base/phone_number.h"
#include "db/connection.h"
#include "db/default_settings.h"
#include "db/like_pattern.h"
#include "members/minguo_date.h"

#include <QSqlQuery>

namespace members::search {
namespace {

const QString kValue = QStringLiteral("Value");

struct Matching {
    const char* column;
    const char* orderBy;
    enum { Beginning, Anywhere, Whole } how;
};

// The criteria that match one column against the value box.
const Matching* matchingOf(int criterion) {
    static const Matching name{"Name", "Name", Matching::Beginning};
    static const Matching salutation{"Name1", "Name1", Matching::Beginning};
    static const Matching tel{"Tel", "Tel", Matching::Beginning};
    static const Matching mobile{"CDTel", "CDTel", Matching::Beginning};
    static const Matching home{"HomeTel", "HomeTel", Matching::Beginning};
    static const Matching category{"Kind", "Kind", Matching::Whole};
    static const Matching identity{"Identity", "identity", Matching::Beginning};
    static const Matching address{"Address", "address", Matching::Anywhere};
    static const Matching notes[] = {{"Memo", "Memo", Matching::Anywhere},
                                     {"Memo1", "memo1", Matching::Anywhere},
                                     {"Memo2", "memo2", Matching::Anywhere},
                                     {"Memo3", "memo3", Matching::Anywhere},
                                     {"Memo4", "memo4", Matching::Anywhere}};
    switch (criterion) {
    case Name:
        return &name;
    case Salutation:
        return &salutation;
    case Tel:
        return &tel;
    case Mobile:
        return &mobile;
    case HomeTel:
        return &home;
    case Category:
        return &category;
    case Identity:
        return &identity;
    case Address:
        return &address;
    case Note1:
    case Note2:
    case Note3:
    case Note4:
    case Note5:
        return &notes[criterion - Note1];
    default:
        return nullptr;
    }
}

Clause valueClause(const Matching& matching, const QString& typed) {
    const QString v = typed.trimmed();
    const QString column = QLatin1String(matching.column);
    const QString order = QStringLiteral(" order by ") + QLatin1String(matching.orderBy);
    if (matching.how == Matching::Whole)
        return {QStringLiteral("and %1= :Value").arg(column) + order, {{kValue, v}}};
    // A typed "%" or "_" is a wildcard as the pattern's own "%" is.
    const QString part = db::likeKeepingWildcards(v);
    const QString pattern = matching.how == Matching::Anywhere ? '%' + part + '%' : part + '%';
    return {QStringLiteral("and %1 like :Value").arg(column) + db::kLikeEscape + order,
            {{kValue, pattern}}};
}

// A date box's text, or "%" (anything) when it is empty.
QString partOrAny(const QString& text) {
    return text.isEmpty() ? QStringLiteral("%") : db::likeKeepingWildcards(text);
}

// The year box without its "+" or "-": a sign alone is no year, and would
// compare the year with "%" (the server refuses that, SQLite finds nothing).
QString signedYear(const QString& typed) {
    QString year = typed;
    year.chop(1);
    if (year.isEmpty())
        throwNotAnInteger(typed);
    return year;
}

// Born in a Gregorian year (or from it on, or up to it), month and day; each
// part left empty matches anything. The year is bound as a number so that
// ">=" and "<=" compare numbers.
Clause birthdayClause(const Input& input) {
    QString y = input.year.trimmed();
    const QString m = input.month.trimmed();
    const QString d = input.day.trimmed();
    if (y.isEmpty() && m.isEmpty() && d.isEmpty())
        return {};
    QString comparison = QStringLiteral("like :Year") + db::kLikeEscape;
    if (y.endsWith('+') || y.endsWith('-')) {
        comparison = (y.endsWith('+') ? QStringLiteral(">=") : QStringLiteral("<=")) +
                     QStringLiteral(" :Year");
        y = signedYear(y);
    }
    Clause clause;
    clause.line = QStringLiteral("and year(Birthday) %1 and month(Birthday) like :Month%2 "
                                 "and day(Birthday) like :day%2 order by birthday")
                      .arg(comparison, db::kLikeEscape);
    clause.params.insert(QStringLiteral("Year"), y.isEmpty() ? QVariant(QStringLiteral("%"))
                                                             : QVariant(toInteger(y) + 1911));
    clause.params.insert(QStringLiteral("Month"),
                         m.isEmpty() ? QStringLiteral("%") : QString::number(toInteger(m)));
    clause.params.insert(QStringLiteral("day"),
                         d.isEmpty() ? QStringLiteral("%") : QString::number(toInteger(d)));
    return clause;
}

// The joining date is stored as typed, so the boxes are compared as typed.
Clause joiningDateClause(const Input& input) {
    const QString pattern = partOrAny(input.year.trimmed()) + '/' +
                            partOrAny(input.month.trimmed()) + '/' + partOrAny(input.day.trimmed());
    return {QStringLiteral("and EnterDate like :Value") + db::kLikeEscape +
                QStringLiteral(" order by EnterDate"),
            {{kValue, pattern}}};
}

QString textOf(const QSqlQuery& query, const char* field) {
    return query.value(QLatin1String(field)).toString();
}

} // namespace

Captions readCaptions() {
    QSqlQuery query = db::run(QStringLiteral("select * from SystemSet"));
    Captions captions;
    const bool found = query.next();
    // A caption left empty shows its default instead of a blank.
    auto field = [&](const char* name) {
        return db::settingOrDefault(QLatin1String(name), found ? textOf(query, name) : QString());
    };
    captions.category = field("CW");
    captions.enterDate = field("EnterDate");
    captions.date1 = field("Date1");
    for (const char* memo : {"Memo1", "Memo2", "Memo3", "Memo4", "Memo5"})
        captions.memos << field(memo);
    return captions;
}

namespace {

QStringList trimmedColumn(const QString& sql, const char* field) {
    QSqlQuery query = db::run(sql);
    QStringList items;
    while (query.next())
        items << query.value(QLatin1String(field)).toString().trimmed();
    return items;
}

} // namespace

QStringList salutations() {
    return trimmedColumn(QStringLiteral("select * from CWNames"), "Name");
}

QStringList categories() {
    return trimmedColumn(QStringLiteral("select * from Kinds"), "KindName");
}

QStringList criterionNames(const Captions& captions) {
    QStringList names{
        QStringLiteral("編號"), QStringLiteral("姓名"),     QStringLiteral("稱謂"),
        QStringLiteral("電話"), QStringLiteral("行動電話"), QStringLiteral("家裡電話"),
        captions.category,      QStringLiteral("生日"),     QStringLiteral("身份証號"),
        QStringLiteral("地址"), captions.enterDate};
    for (int i = 0; i < 5; ++i)
        names << captions.memos.value(i);
    return names;
}

Bounds memberNumberBounds() {
    Bounds bounds;
    QSqlQuery low = db::run(QStringLiteral("Select min(ID) as MinID from Cust"));
    if (low.next())
        bounds.low = textOf(low, "MinID");
    QSqlQuery high = db::run(QStringLiteral("Select max(ID) as MaxID from Cust"));
    if (high.next())
        bounds.high = textOf(high, "MaxID");
    return bounds;
}

Bounds numberRange(const Input& input, const Bounds& stored) {
    return {input.value.isEmpty() ? stored.low : input.value,
            input.upper.isEmpty() ? stored.high : input.upper};
}

Clause criterionClause(const Input& input, const Bounds& range) {
    if (const Matching* matching = matchingOf(input.criterion))
        return valueClause(*matching, input.value);
    switch (input.criterion) {
    case Number:
        return {QStringLiteral("and ID between :Low and :High order by id"),
                {{QStringLiteral("Low"), range.low.trimmed()},
                 {QStringLiteral("High"), range.high.trimmed()}}};
    case Birthday:
        return birthdayClause(input);
    case JoiningDate:
        return joiningDateClause(input);
    default:
        return {};
    }
}

QString memberColumnsLine() {
    return QStringLiteral("SELECT id, name, Name1, Tel, CDTel, HomeTel,Fax,Kind, "
                          "birthday,MGBirthday AS b, Identity,EnterDate,Address, Memo, "
                          "Memo1,Memo2,Memo3,Memo4,Memo5,date1,photo,IsEnabled,NoSms FROM Cust ");
}

Statement memberStatement(const Clause& clause, bool activeMembers) {
    Statement statement;
    statement.lines << memberColumnsLine() << QStringLiteral(" Where IsEnabled=:IsEnabled ");
    if (!clause.line.isEmpty())
        statement.lines << clause.line;
    statement.params = clause.params;
    statement.params.insert(QStringLiteral("IsEnabled"), activeMembers);
    return statement;
}

QString containsPattern(const QString& text) {
    return QLatin1Char('%') + db::likeLiteral(text) + QLatin1Char('%');
}

namespace {

// The three telephones as one text, a line break between them (the box takes
// no line break, so no typed text spans two of them).
QString telephones() {
    return QStringLiteral("coalesce(Tel,'')||'\n'||coalesce(CDTel,'')||'\n'||coalesce(HomeTel,'')");
}

// The expression with the marks of phone::kSearchMarks left out, by
// translate(), which both engines have.
QString withoutSearchMarks(const QString& expression) {
    return QStringLiteral("translate(%1,'%2','')").arg(expression, phone::kSearchMarks);
}

} // namespace

Statement quickSearchStatement(const QString& typed, bool activeMembers) {
    const QString text = typed.trimmed();
    const QString digits = phone::searchKey(text);
    // The telephones are read without their spacing and brackets on both
    // sides; typed text that is all marks is looked for as it is.
    const QString phones = digits.isEmpty()
                               ? telephones() + QStringLiteral(" like :Text")
                               : withoutSearchMarks(telephones()) + QStringLiteral(" like :Digits");
    QStringList matches;
    for (const QString& match :
         {QStringLiteral("id like :Text"), QStringLiteral("name like :Text"), phones})
        matches << match + db::kLikeEscape;
    Clause clause{QStringLiteral("and (%1) order by id").arg(matches.join(QStringLiteral(" or "))),
                  {{QStringLiteral("Text"), containsPattern(text)}}};
    if (!digits.isEmpty())
        clause.params.insert(QStringLiteral("Digits"), containsPattern(digits));
    return memberStatement(clause, activeMembers);
}

} // namespace members::search
