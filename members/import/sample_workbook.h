#pragma once

#include <QString>

// The sample workbook shipped with the program: the layout the workbook
// import reads, with a heading row and one example member.
namespace members {

// Writes the sample workbook into the user's cache folder as
// "lunmarkcust.xls" and returns its path. Throws FileError when it cannot be
// written.
QString writeSampleWorkbook();

// Writes the sample workbook and opens it with the desktop's spreadsheet
// program (through the replaceable document opener).
void openSampleWorkbook();

} // namespace members
