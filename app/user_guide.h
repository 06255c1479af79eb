#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// The user's guide: Markdown pages in one folder (index.md lists them in
// the order of the contents), their pictures in images/ beside them.
namespace guide {

struct Page {
    QString file;  // the page's file name, e.g. members.md
    QString title; // as index.md names it
};

// The folder of the guide: LUNMARK_GUIDE_DIR when set, else where the
// package installs it relative to the program (../share/lunmark/guide),
// else the source tree's docs/guide. Empty when it holds no index.md.
QString folder();

// The pages in the order index.md lists them; none when it cannot be read.
QList<Page> pages(const QString& folder);

// The second-level headings (## …) of a page, in order.
QStringList sections(const QString& pageFile);

// The page about the window holding widget: the first of widget and its
// parents whose object name the guide knows; index.md when none does.
QString pageFor(const QWidget* widget);

struct Hit {
    QString file;    // the page
    QString title;   // the page's title
    QString section; // the heading above the first match, may be empty
    QString excerpt; // the line of the first match, without Markdown marks
};

// The pages holding every blank-separated word of words (letter case
// ignored), in the order of the contents.
QList<Hit> search(const QString& folder, const QString& words);

} // namespace guide
