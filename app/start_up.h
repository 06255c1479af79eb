#pragma once

#include "db/database_target.h"

#include <QString>
#include <QStringList>

// What the command line asks for.
struct StartOptions {
    QString databasePath = QStringLiteral("db.sqlite");
    bool databaseGiven = false;   // --database named a file or a server address
    bool createIfMissing = false; // make a new database without asking
    bool help = false;
    QString error;       // a word the program does not know
    QString restoreFile; // --restore: put this backup back, then end
    QString copyFrom;    // --copy-database FROM TO: copy a register, then end
    QString copyTo;
};

StartOptions parseStartOptions(const QStringList& arguments);

// The text of --help, ending with guideNotice().
QString startUsage();

// Where the user's guide is: F1, the menu item and the folder of its pages.
QString guideNotice();

// The database the options name: --database (a file or a postgresql://
// address), else [Database] of lunmark.ini in the working directory, else
// the SQLite file databasePath. Throws DatabaseError for a bad address.
db::DatabaseTarget startTarget(const StartOptions& options);

// Sets the database and, when its SQLite file is missing, makes a new one if
// told to or if the user agrees (a server database is made only by
// --create-database, without windows: see runProgram). Declining leaves the file missing: the first
// statement then reports the missing database.
void prepareDatabase(const StartOptions& options);

// The whole start-up: the main window, the sign-in, the message loop.
int runProgram(int argc, char** argv);
