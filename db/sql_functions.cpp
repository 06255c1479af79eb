#include "db/sql_functions.h"

#include "base/errors.h"

#include <QSqlDriver>
#include <QVariant>
#include <cstring>
#include <sqlite3.h>
#include <string>

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

bool isAscii(const unsigned char* text) {
    for (; *text != 0; ++text) {
        if (*text >= 0x80)
            return false;
    }
    return true;
}

// translate(text, from, to) as the server has it: each character of from is
// replaced by the one at its place in to, or left out where to is shorter.
// from and to are ASCII (bytes that never occur inside a UTF-8 sequence), so
// the text is mapped byte by byte.
void translateFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    for (int i = 0; i < 3; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(context);
            return;
        }
    }
    const unsigned char* text = sqlite3_value_text(argv[0]);
    const unsigned char* from = sqlite3_value_text(argv[1]);
    const unsigned char* to = sqlite3_value_text(argv[2]);
    if (text == nullptr || from == nullptr || to == nullptr) {
        sqlite3_result_error_nomem(context);
        return;
    }
    if (!isAscii(from) || !isAscii(to)) {
        sqlite3_result_error(context, "translate() takes ASCII characters only", -1);
        return;
    }
    // 0: kept; -1: left out; otherwise the replacement.
    int map[128] = {};
    const std::size_t toSize = std::strlen(reinterpret_cast<const char*>(to));
    for (std::size_t i = 0; from[i] != 0; ++i) {
        if (map[from[i]] == 0)
            map[from[i]] = i < toSize ? to[i] : -1;
    }
    const int size = sqlite3_value_bytes(argv[0]);
    std::string result;
    result.reserve(std::size_t(size));
    for (int i = 0; i < size; ++i) {
        const unsigned char c = text[i];
        const int mapped = c < 0x80 ? map[c] : 0;
        if (mapped == 0)
            result += char(c);
        else if (mapped > 0)
            result += char(mapped);
    }
    sqlite3_result_text(context, result.data(), int(result.size()), SQLITE_TRANSIENT);
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
    sqlite3_create_function(sqlite, "translate", 3, flags, nullptr, &translateFunction, nullptr,
                            nullptr);
}

} // namespace db
