#pragma once

#include "db/packed_values.h"

#include <QString>
#include <QVariantMap>
#include <memory>

// The engine-specific reading of a dataset's SELECT behind
// dataset_sql::Select: each engine's own client library, row by row into
// packed values.
namespace db::dataset_sql {

class SelectRows {
public:
    virtual ~SelectRows() = default;
    virtual int columnCount() const = 0;
    virtual QString columnName(int column) const = 0;
    virtual QString originColumn(int column, const QString& table) const = 0;
    virtual bool next() = 0;
    virtual qint64 integer(int column) const = 0;
    virtual void appendValue(int column, PackedValues& values) const = 0;
};

std::unique_ptr<SelectRows> sqliteSelect(const QString& statement, const QVariantMap& params);
std::unique_ptr<SelectRows> postgresSelect(const QString& statement, const QVariantMap& params);

} // namespace db::dataset_sql
