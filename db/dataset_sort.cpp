#include "db/dataset_sort.h"

#include <QString>
#include <algorithm>
#include <numeric>

namespace db::dataset_sort {
namespace {

enum class Rank { Null, Number, Text };

// A value prepared once for many comparisons: texts are case-folded ahead.
struct Key {
    Rank rank = Rank::Null;
    QVariant number;
    QString folded;
    QString text;
};

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

Key keyOf(const QVariant& value) {
    Key key;
    if (value.isNull())
        return key;
    if (isNumber(value)) {
        key.rank = Rank::Number;
        key.number = value;
        return key;
    }
    key.rank = Rank::Text;
    key.text = value.toString();
    key.folded = key.text.toCaseFolded();
    return key;
}

template <typename T> int threeWay(const T& x, const T& y) {
    return x < y ? -1 : (x > y ? 1 : 0);
}

int compareNumbers(const QVariant& a, const QVariant& b) {
    if (a.typeId() != QMetaType::Double && b.typeId() != QMetaType::Double)
        return threeWay(a.toLongLong(), b.toLongLong());
    return threeWay(a.toDouble(), b.toDouble());
}

int compareKeys(const Key& a, const Key& b) {
    if (a.rank != b.rank)
        return threeWay(int(a.rank), int(b.rank));
    if (a.rank == Rank::Number)
        return compareNumbers(a.number, b.number);
    if (a.rank == Rank::Null)
        return 0;
    const int folded = a.folded.compare(b.folded);
    return folded != 0 ? folded : a.text.compare(b.text);
}

} // namespace

int compareValues(const QVariant& a, const QVariant& b) {
    return compareKeys(keyOf(a), keyOf(b));
}

std::vector<int> sortedOrder(const std::vector<QVariant>& values, Qt::SortOrder order) {
    std::vector<Key> keys;
    keys.reserve(values.size());
    for (const QVariant& value : values)
        keys.push_back(keyOf(value));
    std::vector<int> positions(values.size());
    std::iota(positions.begin(), positions.end(), 0);
    const bool ascending = order == Qt::AscendingOrder;
    std::stable_sort(positions.begin(), positions.end(), [&](int x, int y) {
        const int result = compareKeys(keys[size_t(x)], keys[size_t(y)]);
        return ascending ? result < 0 : result > 0;
    });
    return positions;
}

} // namespace db::dataset_sort
