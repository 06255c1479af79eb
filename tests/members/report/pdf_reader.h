#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <vector>

// Reads a PDF back with poppler's command-line tools.
namespace pdf {

// The text of every page, in reading order, one entry per page.
QStringList pageTexts(const QString& path);

// The text of every page with its layout kept (columns stay on one line).
QStringList layoutTexts(const QString& path);

// The number of pages and the size of the first, in millimetres.
int pageCount(const QString& path);
QSizeF pageSizeMm(const QString& path);

// One word and where it stands on its page, in millimetres from the top-left
// corner.
struct Word {
    int page = 0; // from 0
    QString text;
    QRectF box;
};
std::vector<Word> words(const QString& path);

} // namespace pdf
