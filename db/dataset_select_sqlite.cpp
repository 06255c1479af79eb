// A dataset's SELECT read straight from SQLite.
#include "db/dataset_select.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/sql_functions.h"

#include <QDateTime>
#include <sqlite3.h>

namespace db::dataset_sql {
namespace {

class SqliteRows : public SelectRows {
public:
    SqliteRows(const QString& statement, const QVariantMap& params)
        : m_database(sqliteHandle(connection())) {
        const QByteArray text = statement.toUtf8();
        if (sqlite3_prepare_v2(m_database, text.constData(), int(text.size()), &m_statement,
                               nullptr) != SQLITE_OK)
            fail();
        bind(params);
    }
    ~SqliteRows() override { sqlite3_finalize(m_statement); }
    SqliteRows(const SqliteRows&) = delete;
    SqliteRows& operator=(const SqliteRows&) = delete;

    int columnCount() const override { return sqlite3_column_count(m_statement); }

    QString columnName(int column) const override {
        QString name = QString::fromUtf8(sqlite3_column_name(m_statement, column));
        name.remove('"');
        return name.mid(name.lastIndexOf('.') + 1);
    }

    QString originColumn(int column, const QString& table) const override {
        const char* origin = sqlite3_column_table_name(m_statement, column);
        const char* name = sqlite3_column_origin_name(m_statement, column);
        const bool fromTable = origin != nullptr && name != nullptr &&
                               QString::fromUtf8(origin).compare(table, Qt::CaseInsensitive) == 0;
        return fromTable ? QString::fromUtf8(name) : QString();
    }

    bool next() override {
        const int result = sqlite3_step(m_statement);
        if (result == SQLITE_ROW)
            return true;
        if (result == SQLITE_DONE)
            return false;
        fail();
    }

    qint64 integer(int column) const override { return sqlite3_column_int64(m_statement, column); }

    // As the Qt driver reads them: a null is a null text.
    void appendValue(int column, PackedValues& values) const override {
        switch (sqlite3_column_type(m_statement, column)) {
        case SQLITE_INTEGER:
            values.appendInteger(sqlite3_column_int64(m_statement, column));
            break;
        case SQLITE_FLOAT:
            values.appendReal(sqlite3_column_double(m_statement, column));
            break;
        case SQLITE_TEXT:
            values.appendText(
                reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column)),
                sqlite3_column_bytes(m_statement, column));
            break;
        case SQLITE_BLOB:
            values.appendBlob(static_cast<const char*>(sqlite3_column_blob(m_statement, column)),
                              sqlite3_column_bytes(m_statement, column));
            break;
        default:
            values.appendNull(QMetaType::fromType<QString>());
            break;
        }
    }

private:
    // The statement is of no further use, so it goes at once (also when the
    // constructor fails, where no destructor runs).
    [[noreturn]] void fail() {
        const QString text = QString::fromUtf8(sqlite3_errmsg(m_database));
        const int code = sqlite3_errcode(m_database) & 0xff;
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
            throw DatabaseError(busyText());
        throw DatabaseError(QStringLiteral("資料庫錯誤: %1").arg(text));
    }

    // As db::run binds: null as null, numbers as numbers, bytes as a blob,
    // anything else (dates as ISO text) as its text.
    void bind(const QVariantMap& params) {
        const int count = sqlite3_bind_parameter_count(m_statement);
        for (int i = 1; i <= count; ++i) {
            const char* name = sqlite3_bind_parameter_name(m_statement, i);
            if (name == nullptr)
                continue;
            const QVariant value = boundValue(params.value(QString::fromUtf8(name + 1)));
            int result = SQLITE_OK;
            if (value.isNull()) {
                result = sqlite3_bind_null(m_statement, i);
            } else {
                switch (value.typeId()) {
                case QMetaType::Int:
                    result = sqlite3_bind_int(m_statement, i, value.toInt());
                    break;
                case QMetaType::Double:
                    result = sqlite3_bind_double(m_statement, i, value.toDouble());
                    break;
                case QMetaType::UInt:
                case QMetaType::LongLong:
                case QMetaType::ULongLong:
                    result = sqlite3_bind_int64(m_statement, i, value.toLongLong());
                    break;
                case QMetaType::QByteArray: {
                    const QByteArray bytes = value.toByteArray();
                    result = sqlite3_bind_blob(m_statement, i, bytes.constData(), int(bytes.size()),
                                               SQLITE_TRANSIENT);
                    break;
                }
                default: {
                    const QByteArray utf8 = value.toString().toUtf8();
                    result = sqlite3_bind_text(m_statement, i, utf8.constData(), int(utf8.size()),
                                               SQLITE_TRANSIENT);
                    break;
                }
                }
            }
            if (result != SQLITE_OK)
                fail();
        }
    }

    sqlite3* m_database = nullptr;
    sqlite3_stmt* m_statement = nullptr;
};

} // namespace

std::unique_ptr<SelectRows> sqliteSelect(const QString& statement, const QVariantMap& params) {
    return std::make_unique<SqliteRows>(statement, params);
}

} // namespace db::dataset_sql
