#include "tests/sms/sms_database_fixture.h"

#include "db/connection.h"
#include "sms/gateway_config.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>

SmsDatabaseTest::SmsDatabaseTest() : m_savedSession(LoginSession::current()) {
    m_sim.emplace(accountOptions());
    pointGatewayAt(*m_sim);
    LoginSession& session = LoginSession::current();
    session.SuppID = "D01";
    session.SystemID = "SYS9";
    session.CustID = "C123";
    session.CustPwd = "pw";
    session.CustName = "林小姐";
}

SmsDatabaseTest::~SmsDatabaseTest() {
    LoginSession::current() = m_savedSession;
}

QStringList SmsDatabaseTest::accountOptions() {
    return {"--supp-id", "D01",        "--system-id", "SYS9",        "--cust-id",
            "C123",      "--cust-pwd", "pw",          "--cust-name", "林小姐"};
}

void SmsDatabaseTest::pointGatewayAt(const GatewaySimProcess& sim) {
    QFile ini(GatewayConfig::iniPath());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    // Sending is tested at any hour; the quiet hours have tests of their own.
    // [Gateway] comes last: tests add further keys of theirs to it.
    ini.write("[Sms]\nQuietHours=\n[Gateway]\nSendHost=" + sim.host().toUtf8() +
              "\nAccountHost=" + sim.host().toUtf8() + "\nConnectTimeout=5\nTimeout=5\n");
}

void SmsDatabaseTest::addMember(const QString& id, const QString& name, const QString& salutation,
                                const QString& mobile, bool enabled) {
    db::run(QStringLiteral("insert into Cust(id, name, Name1, CDTel, isEnabled) "
                           "values(:id, :name, :salutation, :mobile, :enabled)"),
            {{"id", id},
             {"name", name},
             {"salutation", salutation},
             {"mobile", mobile},
             {"enabled", enabled ? 1 : 0}});
}

// A column as the statement spells it: PostgreSQL names every column in
// lower case.
static QString spelledAsIn(const QString& sql, const QString& name) {
    const QRegularExpression word(QStringLiteral("\\b%1\\b").arg(QRegularExpression::escape(name)),
                                  QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = word.match(sql);
    return match.hasMatch() ? match.captured() : name;
}

QList<QVariantMap> SmsDatabaseTest::rows(const QString& sql) {
    QSqlQuery query = db::run(sql);
    QList<QVariantMap> result;
    while (query.next()) {
        QVariantMap row;
        const QSqlRecord record = query.record();
        for (int i = 0; i < record.count(); ++i)
            row.insert(spelledAsIn(sql, record.fieldName(i)), query.value(i));
        result << row;
    }
    return result;
}

int SmsDatabaseTest::count(const QString& sql) {
    QSqlQuery query = db::run(sql);
    return query.next() ? query.value(0).toInt() : -1;
}
