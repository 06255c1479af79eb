#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh database made from the schema in a temporary folder, set as the
// shared connection's database for the life of the object.
class TempDatabase {
public:
    TempDatabase();
    ~TempDatabase();
    TempDatabase(const TempDatabase&) = delete;
    TempDatabase& operator=(const TempDatabase&) = delete;

    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};
