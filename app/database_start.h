#pragma once

#include <QString>
#include <cstdio>

// What start-up does for the database's safety, before the sign-in.

// A server database is only checked for being reachable and holding the
// register's tables; saying so (naming lunmark --create-database) ends the
// program: false. An SQLite file:
// Checks the database (PRAGMA quick_check). A damaged one is reported in
// plain words with the offer to restore the newest backup; it is never used
// half-broken, so declining (or having no backup) ends the program: false.
// Then takes the day's first backup; a failure there is reported and the
// program goes on.
bool checkDatabaseAtStart();

// lunmark --restore FILE: the same restore as the window's, asked and
// reported on the terminal (no display needed). The answer is read from
// input; only "y" or "是" restores. Returns the exit status.
int restoreFromShell(const QString& backupFile, std::FILE* input, std::FILE* output);
