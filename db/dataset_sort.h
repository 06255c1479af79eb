#pragma once

#include <QVariant>
#include <Qt>
#include <vector>

// The order of a dataset's client-side sort.
namespace db::dataset_sort {

// Compares two field values: null is the smallest, numbers come before texts
// and compare by value, texts compare ignoring letter case and then exactly.
// Negative, zero or positive like strcmp.
int compareValues(const QVariant& a, const QVariant& b);

// The positions of values in sorted order. Equal keys keep their order in
// either direction, so sorting again by another field refines the order.
std::vector<int> sortedOrder(const std::vector<QVariant>& values, Qt::SortOrder order);

} // namespace db::dataset_sort
