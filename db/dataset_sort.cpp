#include "db/dataset_sort.h"

#include <QString>
#include <algorithm>
#include <numeric>

namespace db::dataset_sort {
namespace {

bool isNumber(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

int compareNumbers(const QVariant& a, const QVariant& b) {
    const bool integers = a.typeId() != QMetaType::Double && b.typeId() != QMetaType::Double;
    if (integers) {
        const qlonglong x = a.toLongLong();
        const qlonglong y = b.toLongLong();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    const double x = a.toDouble();
    const double y = b.toDouble();
    return x < y ? -1 : (x > y ? 1 : 0);
}

int compareTexts(const QString& a, const QString& b) {
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded : a.compare(b, Qt::CaseSensitive);
}

} // namespace

int compareValues(const QVariant& a, const QVariant& b) {
    const bool aNull = a.isNull();
    const bool bNull = b.isNull();
    if (aNull || bNull)
        return aNull == bNull ? 0 : (aNull ? -1 : 1);
    const bool aNumber = isNumber(a);
    const bool bNumber = isNumber(b);
    if (aNumber != bNumber)
        return aNumber ? -1 : 1;
    if (aNumber)
        return compareNumbers(a, b);
    return compareTexts(a.toString(), b.toString());
}

std::vector<int> sortedOrder(const std::vector<QVariant>& keys, Qt::SortOrder order) {
    std::vector<int> positions(keys.size());
    std::iota(positions.begin(), positions.end(), 0);
    const bool ascending = order == Qt::AscendingOrder;
    std::stable_sort(positions.begin(), positions.end(), [&](int x, int y) {
        const int result = compareValues(keys[size_t(x)], keys[size_t(y)]);
        return ascending ? result < 0 : result > 0;
    });
    return positions;
}

} // namespace db::dataset_sort
