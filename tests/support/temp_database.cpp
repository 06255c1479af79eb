#include "tests/support/temp_database.h"

#include "db/connection.h"

TempDatabase::TempDatabase() : m_path(m_dir.filePath(QStringLiteral("db.sqlite"))) {
    db::createDatabase(m_path);
    db::setDatabasePath(m_path);
}

TempDatabase::~TempDatabase() {
    db::closeConnection();
}
