#include "admin/passwords.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/database_target.h"

#include <QSqlQuery>
#include <QVariant>
#include <sodium.h>

namespace passwords {
namespace {

const QString kNarrowCheck = QStringLiteral("length(UserPwd) <= 16");
const QString kWideCheck = QStringLiteral("length(UserPwd) <= 128");
const QString kUsersColumns = QStringLiteral(
    "rowid, UserID, UserName, UserPwd, Sex, ID, Tel1, MoveTel1, Address, UserRights, "
    "DftStockID, DftStockName");

void initSodium() {
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw LunmarkError(QStringLiteral("無法啟用密碼加密功能 (libsodium)"));
}

QByteArray folded(const QString& password) {
    return password.toLower().toUtf8();
}

} // namespace

QString hash(const QString& password) {
    initSodium();
    const QByteArray text = folded(password);
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(out, text.constData(), static_cast<unsigned long long>(text.size()),
                              crypto_pwhash_OPSLIMIT_INTERACTIVE,
                              crypto_pwhash_MEMLIMIT_INTERACTIVE,
                              crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw LunmarkError(QStringLiteral("記憶體不足﹐無法加密密碼"));
    return QString::fromLatin1(out);
}

bool isHash(const QString& stored) {
    return stored.startsWith(QLatin1String("$argon2id$"));
}

bool matches(const QString& stored, const QString& typed) {
    if (!isHash(stored))
        return stored.toLower() == typed.toLower();
    initSodium();
    const QByteArray encoded = stored.toLatin1();
    const QByteArray text = folded(typed);
    return crypto_pwhash_str_verify(encoded.constData(), text.constData(),
                                    static_cast<unsigned long long>(text.size())) == 0;
}

bool checkSignIn(const QString& userId, const QString& typed) {
    QSqlQuery rows =
        db::run(QStringLiteral("select rowid, UserPwd from Users where UserID=:UserID"),
                {{QStringLiteral("UserID"), userId}});
    while (rows.next()) {
        const QString stored = rows.value(1).toString();
        if (!matches(stored, typed))
            continue;
        if (!stored.isEmpty() && !isHash(stored))
            db::run(
                QStringLiteral("update Users set UserPwd=:UserPwd where rowid=:row"),
                {{QStringLiteral("UserPwd"), hash(typed)}, {QStringLiteral("row"), rows.value(0)}});
        return true;
    }
    return false;
}

bool hasNoPassword(const QString& userId) {
    QSqlQuery rows = db::run(QStringLiteral("select count(*) from Users where UserID=:UserID and "
                                            "coalesce(UserPwd, '') <> ''"),
                             {{QStringLiteral("UserID"), userId}});
    return !rows.next() || rows.value(0).toInt() == 0;
}

void setPassword(const QString& userId, const QString& password) {
    db::run(QStringLiteral("update Users set UserPwd=:UserPwd where UserID=:UserID"),
            {{QStringLiteral("UserPwd"), hash(password)}, {QStringLiteral("UserID"), userId}});
}

// Only SQLite files from before the hashes have the narrow column; a server
// database is always made with the wide one.
void makeRoomForHashes() {
    if (db::engine() != db::Engine::Sqlite)
        return;
    QSqlQuery table = db::run(
        QStringLiteral("select sql from sqlite_master where type='table' and name='Users'"));
    if (!table.next())
        return;
    QString definition = table.value(0).toString();
    table.finish(); // a statement still reading the schema would lock the table
    if (!definition.contains(kNarrowCheck))
        return;
    definition.replace(kNarrowCheck, kWideCheck);
    definition.replace(QStringLiteral("CREATE TABLE Users"),
                       QStringLiteral("CREATE TABLE Users_wide"));
    db::Transaction transaction;
    db::run(definition);
    db::run(QStringLiteral("insert into Users_wide(%1) select %1 from Users").arg(kUsersColumns));
    db::run(QStringLiteral("drop table Users"));
    db::run(QStringLiteral("alter table Users_wide rename to Users"));
    transaction.commit();
}

} // namespace passwords
