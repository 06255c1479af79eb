#pragma once

#include "members/report/member_rows.h"

#include <QDateTime>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <array>
#include <vector>

// The printed member list on A4 portrait: a title band on the first page, the
// column headings on every page, one row per member and a footer at the foot
// of every page. Lengths in millimetres; positions from the top-left corner
// of the printable area (the paper less 10 on every side). Pure functions.
namespace members::report::member_list {

inline constexpr QSizeF kPaper(210, 297);
inline constexpr qreal kMargin = 10;
inline constexpr qreal kWidth = 190;  // printable
inline constexpr qreal kHeight = 277; // printable

inline constexpr qreal kTitleBand = 25.4;
inline constexpr qreal kHeaderBand = 6.8;
inline constexpr qreal kRowHeight = 7.1;
inline constexpr qreal kFooterBand = 7.9;

// Character heights in pixels at 96 dots per inch.
inline constexpr qreal kTitlePixels = 27;
inline constexpr qreal kTextPixels = 13;

// The three texts of the title band.
inline constexpr QRectF kTitleBox(0, 2.1, kWidth, 10.9);
inline constexpr QRectF kAddressBox(0, 13.0, kWidth, 5.8);
inline constexpr QRectF kTelFaxBox(0, 18.8, kWidth, 5.8);

// One column: its heading and the member field printed under it.
struct Column {
    const char16_t* caption;
    qreal captionLeft;
    QString MemberRow::*field;
    qreal left;
    qreal width;
};
inline constexpr std::array<Column, 5> kColumns = {{
    {u"編號", 2.6, &MemberRow::id, 2.6, 30.1},
    {u"姓名", 33.3, &MemberRow::name, 33.3, 23.9},
    {u"電話", 57.7, &MemberRow::tel, 57.7, 30.7},
    {u"行動電話", 88.9, &MemberRow::mobile, 88.9, 24.6},
    {u"地址", 115.9, &MemberRow::address, 114.3, 74.2},
}};

// The footer texts' left edges: page, the printing-time caption, the time.
inline constexpr qreal kPageTextLeft = 74.3;
inline constexpr qreal kPrintedCaptionLeft = 118.3;
inline constexpr qreal kPrintedAtLeft = 144.5;

// The members printed on one page: rows first to first + count - 1.
struct PageRows {
    int first = 0;
    int count = 0;
    bool operator==(const PageRows&) const = default;
};

// Rows that fit below the title band (first page) or the headings alone.
int rowsPerPage(bool firstPage);

// The pages for rowCount members; one page without rows when there are none.
std::vector<PageRows> paginate(int rowCount);

// Top of the headings and of the first row on a page.
qreal headerTop(bool firstPage);
qreal firstRowTop(bool firstPage);
qreal footerTop();

// "第1頁/共 3頁".
QString pageText(int page, int pageCount);
inline constexpr const char16_t* kPrintedCaption = u"列印日期 時間﹕";
// The date and time of printing: "2024/03/05 14:07:09".
QString printedAtText(const QDateTime& printedAt);

// The telephone and fax line of the title band, the values as stored.
QString telFaxLine(const QString& tel, const QString& fax);

} // namespace members::report::member_list
