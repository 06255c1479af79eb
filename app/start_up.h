#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for.
struct StartOptions {
    QString databasePath = QStringLiteral("db.sqlite");
    bool createIfMissing = false; // make a new database without asking
    bool help = false;
    QString error;       // a word the program does not know
    QString restoreFile; // --restore: put this backup back, then end
};

StartOptions parseStartOptions(const QStringList& arguments);

// The text of --help.
QString startUsage();

// Sets the database and, when its file is missing, makes a new one if told
// to or if the user agrees. Declining leaves the file missing: the first
// statement then reports the missing database.
void prepareDatabase(const StartOptions& options);

// The whole start-up: the main window, the sign-in, the message loop.
int runProgram(int argc, char** argv);
