#include "db/database_target.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/postgres.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>
#include <QUrlQuery>

namespace db {
namespace {

DatabaseTarget& targetSetting() {
    static DatabaseTarget target;
    return target;
}

[[noreturn]] void badAddress(const QString& text, const QString& why) {
    throw DatabaseError(QStringLiteral("資料庫位址「%1」不正確：%2").arg(text, why));
}

int portNumber(const QString& text, const QString& address) {
    bool ok = false;
    const int port = text.toInt(&ok);
    if (!ok || port < 1 || port > 65535)
        badAddress(address, QStringLiteral("埠號「%1」不是 1 到 65535 的數字").arg(text));
    return port;
}

bool isServerAddress(const QString& text) {
    return text.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           text.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

// libpq takes the folder of a server's Unix socket percent-encoded as the
// host ("postgresql://%2Frun%2Fpostgresql/shop"), which QUrl refuses as a
// host name. Takes such a host out of text, leaving a plain one in its
// place, and returns the folder; empty when the host is a name.
QString takeSocketFolder(QString& text) {
    const qsizetype start = text.indexOf(QLatin1String("://")) + 3;
    qsizetype end = start;
    while (end < text.size() && text.at(end) != '/' && text.at(end) != '?')
        ++end;
    const qsizetype at = text.lastIndexOf('@', end - 1);
    const qsizetype hostStart = at >= start ? at + 1 : start;
    qsizetype hostEnd = text.indexOf(':', hostStart);
    if (hostEnd < 0 || hostEnd > end)
        hostEnd = end;
    const QString host = text.mid(hostStart, hostEnd - hostStart);
    if (!host.startsWith(QLatin1String("%2F"), Qt::CaseInsensitive))
        return {};
    text.replace(hostStart, hostEnd - hostStart, QStringLiteral("localhost"));
    return QUrl::fromPercentEncoding(host.toLatin1());
}

} // namespace

DatabaseTarget parseDatabaseArgument(const QString& text) {
    DatabaseTarget target;
    if (!isServerAddress(text)) {
        target.path = text;
        return target;
    }
    target.engine = Engine::Postgresql;
    QString plain = text;
    const QString socketFolder = takeSocketFolder(plain);
    const QUrl url(plain, QUrl::StrictMode);
    if (!url.isValid())
        badAddress(text, url.errorString());
    target.host = socketFolder.isEmpty() ? url.host(QUrl::FullyDecoded) : socketFolder;
    target.user = url.userName(QUrl::FullyDecoded);
    target.password = url.password(QUrl::FullyDecoded);
    if (url.port() != -1)
        target.port = url.port();
    QString name = url.path(QUrl::FullyDecoded);
    if (name.startsWith('/'))
        name.remove(0, 1);
    if (name.contains('/'))
        badAddress(text, QStringLiteral("資料庫名稱「%1」不能含有 /").arg(name));
    target.name = name;
    const QUrlQuery query(url);
    for (const auto& [key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (key == QLatin1String("host"))
            target.host = value;
        else if (key == QLatin1String("port"))
            target.port = portNumber(value, text);
        else if (key == QLatin1String("user"))
            target.user = value;
        else if (key == QLatin1String("password"))
            target.password = value;
        else if (key == QLatin1String("dbname"))
            target.name = value;
        else
            badAddress(text, QStringLiteral("不認得的參數「%1」").arg(key));
    }
    return target;
}

QString describeTarget(const DatabaseTarget& target) {
    if (target.engine == Engine::Sqlite)
        return QDir::toNativeSeparators(QFileInfo(target.path).absoluteFilePath());
    const QString host = target.host.isEmpty() ? QStringLiteral("localhost") : target.host;
    const QString user = target.user.isEmpty() ? QString() : target.user + '@';
    return QStringLiteral("PostgreSQL %1%2:%3/%4")
        .arg(user, host)
        .arg(target.port)
        .arg(target.name);
}

DatabaseTarget targetFromSettings() {
    const QSettings ini(QDir::current().filePath(QStringLiteral("lunmark.ini")),
                        QSettings::IniFormat);
    DatabaseTarget target;
    const QString driver = ini.value(QStringLiteral("Database/Driver")).toString().trimmed();
    if (driver.compare(QLatin1String("postgresql"), Qt::CaseInsensitive) != 0)
        return target;
    target.engine = Engine::Postgresql;
    target.host = ini.value(QStringLiteral("Database/Host")).toString().trimmed();
    const QString port = ini.value(QStringLiteral("Database/Port")).toString().trimmed();
    if (!port.isEmpty()) {
        bool ok = false;
        target.port = port.toInt(&ok);
        if (!ok || target.port < 1 || target.port > 65535)
            throw DatabaseError(
                QStringLiteral("lunmark.ini 的 [Database] Port=%1 不是 1 到 65535 的數字")
                    .arg(port));
    }
    target.name = ini.value(QStringLiteral("Database/Name")).toString().trimmed();
    target.user = ini.value(QStringLiteral("Database/User")).toString().trimmed();
    target.password = ini.value(QStringLiteral("Database/Password")).toString();
    return target;
}

DatabaseTarget chosenTarget(bool given, const QString& argument) {
    if (given)
        return parseDatabaseArgument(argument);
    DatabaseTarget target = targetFromSettings();
    if (target.engine == Engine::Sqlite)
        target.path = argument;
    return target;
}

void setDatabaseTarget(const DatabaseTarget& target) {
    closeConnection();
    targetSetting() = target;
}

DatabaseTarget databaseTarget() {
    return targetSetting();
}

Engine engine() {
    return targetSetting().engine;
}

QString dataFolder() {
    if (engine() == Engine::Sqlite)
        return QFileInfo(targetSetting().path).absolutePath();
    return QDir::currentPath();
}

QString settingsFilePath() {
    return QDir(dataFolder()).filePath(QStringLiteral("lunmark.ini"));
}

QString registerTablesStatement(Engine engine) {
    if (engine == Engine::Sqlite)
        return QStringLiteral(
            "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'Cust'");
    return QStringLiteral("SELECT count(*) FROM information_schema.tables "
                          "WHERE table_schema = current_schema() AND table_name = 'cust'");
}

bool hasRegisterTables() {
    QSqlQuery query = run(registerTablesStatement(engine()));
    return query.next() && query.value(0).toLongLong() > 0;
}

} // namespace db
