#pragma once

#include <QStringList>

// The members out to a spreadsheet from the shell, without windows or a
// display:
//   lunmark --export FILE [--search NAME] [--database PATH|URL]
// FILE ending in .xlsx is a workbook, any other name comma-separated text
// (UTF-8 with a byte-order mark). The columns are the import's (1 to 22
// under a heading row), so the file imports back as it is. Without
// --search every member, active or not, in number order; with it the
// members a saved or built-in search finds. Prints the number of members
// written, or the reason nothing was.

// Whether the command line asks for an export.
bool isCommandLineExport(const QStringList& arguments);

// Runs it; the program's exit code: 0 when written, 1 when it failed, 2 for
// a command line it does not understand.
int runCommandLineExport(int argc, char** argv);
