// sms_history_reader DATABASE [AFTER_MS]: a second program on the same
// database file, as a second desk would be. After waiting AFTER_MS
// milliseconds (none by default) prints each MessageHistory row, oldest
// first, as one JSON line with CustName, Tel, Message and Memo; exits 1 when
// the file cannot be read.
#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2 && argc != 3)
        return 2;
    if (argc == 3)
        QThread::msleep(QByteArray(argv[2]).toULong());
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    database.setDatabaseName(QString::fromLocal8Bit(argv[1]));
    database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!database.open())
        return 1;
    QSqlQuery query(database);
    if (!query.exec(
            QStringLiteral("select CustName, Tel, Message, Memo from MessageHistory order by ID")))
        return 1;
    while (query.next()) {
        QJsonObject row;
        for (int i = 0; i < 4; ++i)
            row.insert(query.record().fieldName(i), query.value(i).toString());
        std::printf("%s\n", QJsonDocument(row).toJson(QJsonDocument::Compact).constData());
    }
    return 0;
}
