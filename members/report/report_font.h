#pragma once

#include <QFont>
#include <QStringList>

// The face the reports are laid out with, Arial, followed by the installed
// faces with Arial's measures and those that carry Traditional Chinese, so
// that every character prints even where Arial is missing or lacks the glyph.
namespace members::report {

// The families a report font asks for, Arial first.
QStringList reportFamilies();

// A report font of the given character height in pixels at 96 dots per inch;
// its size is set in points, so it prints at that height on any device.
QFont reportFont(qreal pixels, bool bold = false);

} // namespace members::report
