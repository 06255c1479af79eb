// sms_history_reader DATABASE [AFTER_MS]: a second program on the same
// register, as a second desk would be; DATABASE is what --database takes (a
// file or a postgresql:// address). After waiting AFTER_MS milliseconds
// (none by default) prints each MessageHistory row, oldest first, as one JSON
// line with CustName, Tel, Message and Memo; exits 1 when the register cannot
// be read.
#include "base/errors.h"
#include "db/connection.h"
#include "db/database_target.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QThread>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2 && argc != 3)
        return 2;
    if (argc == 3)
        QThread::msleep(QByteArray(argv[2]).toULong());
    try {
        db::setDatabaseTarget(db::parseDatabaseArgument(QString::fromLocal8Bit(argv[1])));
        QSqlQuery query = db::run(
            QStringLiteral("select CustName, Tel, Message, Memo from MessageHistory order by ID"));
        const char* const names[] = {"CustName", "Tel", "Message", "Memo"};
        while (query.next()) {
            QJsonObject row;
            for (int i = 0; i < 4; ++i)
                row.insert(QLatin1String(names[i]), query.value(i).toString());
            std::printf("%s\n", QJsonDocument(row).toJson(QJsonDocument::Compact).constData());
        }
    } catch (const DatabaseError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.text()));
        return 1;
    }
    db::closeConnection();
    return 0;
}
