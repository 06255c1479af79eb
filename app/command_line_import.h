#pragma once

#include <QStringList>

// Member imports from the shell, without windows or a display:
//   lunmark --import FILE [--preview] [--add | --update | --skip-existing |
//           --replace] [--database PATH] [--create-database]
//   lunmark --import-list FILE [--database PATH] [--create-database]
//   lunmark --undo-import [--database PATH]
// The first reads a workbook or CSV file as the import window does (data
// from row 2, column V marking active members); the second a printed member
// list. Either prints the number of members imported, or the reason the
// import failed, and leaves the database as it was on failure. --replace
// takes a backup and then deletes the old members in the same transaction;
// --create-database makes a new, empty database when PATH is missing.
// Members whose number the register holds are added (--add, the default),
// updated from the file's non-empty cells (--update) or left out
// (--skip-existing). --preview prints what the import would do, one line a
// row that is not new and then the counts, and changes nothing (exit code 0
// when the import would be stored, 1 when refused). --undo-import takes the
// last import back after asking on the terminal (y/N), naming the members
// changed since, which stay as they are unless a second y says otherwise.

// Whether the command line asks for one of these imports.
bool isCommandLineImport(const QStringList& arguments);

// Runs the import the command line asks for; the program's exit code: 0
// when imported, 1 when the import failed, 2 for a command line it does
// not understand.
int runCommandLineImport(int argc, char** argv);
