#include "tests/support/refusing_trigger.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/database_target.h"

namespace {

QString quotedText(QString text) {
    return '\'' + text.replace('\'', QStringLiteral("''")) + '\'';
}

} // namespace

RefusingTrigger::RefusingTrigger(const QString& table, const QString& event, const QString& message)
    : m_name(QStringLiteral("refuse_%1_%2").arg(table.toLower(), event.toLower())), m_table(table) {
    if (db::engine() == db::Engine::Sqlite) {
        db::run(
            QStringLiteral("create trigger %1 before %2 on %3 begin select raise(abort, %4); end")
                .arg(m_name, event, table, quotedText(message)));
        return;
    }
    db::run(QStringLiteral("create function %1() returns trigger language plpgsql as "
                           "$body$ begin raise exception using message = %2; end $body$")
                .arg(m_name, quotedText(message)));
    db::run(QStringLiteral("create trigger %1 before %2 on %3 for each row execute function %1()")
                .arg(m_name, event, table));
}

RefusingTrigger::~RefusingTrigger() {
    try {
        if (db::engine() == db::Engine::Sqlite) {
            db::run(QStringLiteral("drop trigger if exists %1").arg(m_name));
        } else {
            db::run(QStringLiteral("drop trigger if exists %1 on %2").arg(m_name, m_table));
            db::run(QStringLiteral("drop function if exists %1()").arg(m_name));
        }
    } catch (const DatabaseError&) {
        // The test's database goes at its end anyway.
    }
}
