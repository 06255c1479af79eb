#pragma once

#include <QStringList>

// Member imports from the shell, without windows or a display:
//   lunmark --import FILE [--replace] [--database PATH] [--create-database]
//   lunmark --import-list FILE [--database PATH] [--create-database]
// The first reads a workbook or CSV file as the import window does (data
// from row 2, column V marking active members); the second a printed member
// list. Either prints the number of members imported, or the reason the
// import failed, and leaves the database as it was on failure. --replace
// takes a backup and then deletes the old members in the same transaction;
// --create-database makes a new, empty database when PATH is missing.

// Whether the command line asks for one of these imports.
bool isCommandLineImport(const QStringList& arguments);

// Runs the import the command line asks for; the program's exit code: 0
// when imported, 1 when the import failed, 2 for a command line it does
// not understand.
int runCommandLineImport(int argc, char** argv);
