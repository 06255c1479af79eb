#include "db/sql_functions.h"

#include "base/errors.h"

#include <QSqlDriver>
#include <QVariant>
#include <cstring>
#include <sqlite3.h>

namespace db {
namespace {

// Reads part (0 year, 1 month, 2 day) of "YYYY-MM-DD...": digits up to the
// next '-' or the end of the date part.
bool datePart(const unsigned char* text, int part, int& value) {
    if (text == nullptr)
        return false;
    const char* p = reinterpret_cast<const char*>(text);
    for (int i = 0; i < part; ++i) {
        p = std::strchr(p, '-');
        if (p == nullptr)
            return false;
        ++p;
    }
    int digits = 0;
    value = 0;
    while (*p >= '0' && *p <= '9' && digits < 9) {
        value = value * 10 + (*p - '0');
        ++p;
        ++digits;
    }
    return digits > 0;
}

template <int Part> void datePartFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    int value = 0;
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL ||
        !datePart(sqlite3_value_text(argv[0]), Part, value)) {
        sqlite3_result_null(context);
        return;
    }
    sqlite3_result_int(context, value);
}

} // namespace

sqlite3* sqliteHandle(const QSqlDatabase& database) {
    const QVariant handle = database.driver()->handle();
    if (!handle.isValid() || std::strcmp(handle.typeName(), "sqlite3*") != 0)
        throw DatabaseError(QStringLiteral("資料庫錯誤: 無法取得 SQLite 連線"));
    return *static_cast<sqlite3* const*>(handle.constData());
}

void registerSqlFunctions(QSqlDatabase& database) {
    sqlite3* sqlite = sqliteHandle(database);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(sqlite, "year", 1, flags, nullptr, &datePartFunction<0>, nullptr,
                            nullptr);
    sqlite3_create_function(sqlite, "month", 1, flags, nullptr, &datePartFunction<1>, nullptr,
                            nullptr);
    sqlite3_create_function(sqlite, "day", 1, flags, nullptr, &datePartFunction<2>, nullptr,
                            nullptr);
}

} // namespace db
