#include "members/report/member_list_layout.h"

#include <algorithm>
#include <cmath>

namespace members::report::member_list {

namespace {

// Lengths like 7.1 are not exact in binary; a row that fits to within this
// still fits.
constexpr qreal kTolerance = 1e-6;

} // namespace

qreal headerTop(bool firstPage) {
    return firstPage ? kTitleBand : 0;
}

qreal firstRowTop(bool firstPage) {
    return headerTop(firstPage) + kHeaderBand;
}

qreal footerTop() {
    return kHeight - kFooterBand;
}

int rowsPerPage(bool firstPage) {
    const qreal room = footerTop() - firstRowTop(firstPage);
    return int(std::floor(room / kRowHeight + kTolerance));
}

std::vector<PageRows> paginate(int rowCount) {
    std::vector<PageRows> pages;
    int first = 0;
    do {
        const int count = std::min(rowsPerPage(pages.empty()), rowCount - first);
        pages.push_back({first, count});
        first += count;
    } while (first < rowCount);
    return pages;
}

QString pageText(int page, int pageCount) {
    return QStringLiteral("第%1頁/共 %2頁").arg(page).arg(pageCount);
}

QString printedAtText(const QDateTime& printedAt) {
    return printedAt.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

QString telFaxLine(const QString& tel, const QString& fax) {
    return QStringLiteral("電話﹕") + tel + QStringLiteral("  ") + QStringLiteral("傳真﹕") + fax;
}

} // namespace members::report::member_list
