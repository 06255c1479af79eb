#include "members/report/member_list_report.h"

#include "members/report/member_list_layout.h"
#include "members/report/report_font.h"

#include <memory>

namespace members::report {

namespace ml = member_list;

namespace {

constexpr int kCell = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
// The title band's texts stand at the top of their boxes.
constexpr int kCentred = Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine;

struct ListData {
    ListTitles titles;
    std::vector<MemberRow> rows;
    QString printedAt;
    std::vector<ml::PageRows> pages;
};

// Every text is placed from the printable area's corner; the painter works on
// the whole paper.
QRectF onPaper(const QRectF& box) {
    return box.translated(ml::kMargin, ml::kMargin);
}

void rule(PagePainter& painter, qreal top) {
    painter.line(QPointF(ml::kMargin, ml::kMargin + top),
                 QPointF(ml::kMargin + ml::kWidth, ml::kMargin + top));
}

void paintTitleBand(PagePainter& painter, const ListTitles& titles) {
    painter.text(onPaper(ml::kTitleBox), kCentred, titles.title,
                 reportFont(ml::kTitlePixels, true));
    const QFont font = reportFont(ml::kTextPixels);
    painter.text(onPaper(ml::kAddressBox), kCentred, titles.address, font);
    painter.text(onPaper(ml::kTelFaxBox), kCentred, titles.telFax, font);
}

void paintHeader(PagePainter& painter, qreal top) {
    const QFont font = reportFont(ml::kTextPixels, true);
    for (const ml::Column& column : ml::kColumns) {
        const QRectF box(column.captionLeft, top, ml::kWidth - column.captionLeft, ml::kHeaderBand);
        painter.text(onPaper(box), kCell | Qt::TextDontClip, QString::fromUtf16(column.caption),
                     font);
    }
    rule(painter, top + ml::kHeaderBand);
}

void paintRow(PagePainter& painter, const MemberRow& row, qreal top) {
    const QFont font = reportFont(ml::kTextPixels);
    for (const ml::Column& column : ml::kColumns) {
        painter.text(onPaper(QRectF(column.left, top, column.width, ml::kRowHeight)), kCell,
                     row.*column.field, font);
    }
    rule(painter, top + ml::kRowHeight);
}

void paintFooter(PagePainter& painter, int page, int pageCount, const QString& printedAt) {
    const qreal top = ml::footerTop();
    rule(painter, top);
    const QFont font = reportFont(ml::kTextPixels);
    auto at = [&](qreal left, qreal right) {
        return onPaper(QRectF(left, top, right - left, ml::kFooterBand));
    };
    const int flags = kCell | Qt::TextDontClip;
    painter.text(at(ml::kPageTextLeft, ml::kPrintedCaptionLeft), flags,
                 ml::pageText(page + 1, pageCount), font);
    painter.text(at(ml::kPrintedCaptionLeft, ml::kPrintedAtLeft), flags,
                 QString::fromUtf16(ml::kPrintedCaption), font);
    painter.text(at(ml::kPrintedAtLeft, ml::kWidth), flags, printedAt, font);
}

void paintPage(PagePainter& painter, const ListData& data, int page) {
    const bool first = page == 0;
    if (first)
        paintTitleBand(painter, data.titles);
    paintHeader(painter, ml::headerTop(first));
    const ml::PageRows& rows = data.pages[std::size_t(page)];
    for (int i = 0; i < rows.count; ++i) {
        paintRow(painter, data.rows[std::size_t(rows.first + i)],
                 ml::firstRowTop(first) + i * ml::kRowHeight);
    }
    paintFooter(painter, page, int(data.pages.size()), data.printedAt);
}

} // namespace

Report memberListReport(const ListTitles& titles, const std::vector<MemberRow>& rows,
                        const QDateTime& printedAt) {
    auto data = std::make_shared<ListData>(
        ListData{titles, rows, ml::printedAtText(printedAt), ml::paginate(int(rows.size()))});
    Report report;
    report.title = titles.title.isEmpty() ? QStringLiteral("客戶資料") : titles.title;
    report.pageSize = QPageSize(QPageSize::A4);
    report.pageCount = int(data->pages.size());
    report.paintPage = [data](PagePainter& painter, int page) { paintPage(painter, *data, page); };
    return report;
}

} // namespace members::report
