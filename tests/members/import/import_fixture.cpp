#include "tests/members/import/import_fixture.h"

#include "db/connection.h"
#include "members/import/import_hooks.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

ImportFixture::ImportFixture() {
    members::setImportFileChooser([this](QWidget*, const QString& filter) {
        ++m_dialogs;
        m_filter = filter;
        return m_chosen;
    });
}

ImportFixture::~ImportFixture() {
    members::setImportFileChooser({});
}

QString ImportFixture::file(const QString& name) const {
    return QDir(database.folder()).filePath(name);
}

void ImportFixture::writeFile(const QString& path, const QByteArray& bytes) const {
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
}

void ImportFixture::addMember(const QString& id, const QString& name) {
    db::run(QStringLiteral("insert into Cust(id, name, isEnabled) values(:id, :name, 1)"),
            {{QStringLiteral("id"), id}, {QStringLiteral("name"), name}});
}

QStringList ImportFixture::memberIds() const {
    QSqlQuery query = db::run(QStringLiteral("select id from Cust order by rowid"));
    QStringList ids;
    while (query.next())
        ids.append(query.value(0).toString());
    return ids;
}

QVariantMap ImportFixture::member(const QString& id) const {
    QSqlQuery query =
        db::run(QStringLiteral("select * from Cust where id = :id"), {{QStringLiteral("id"), id}});
    QVariantMap values;
    if (!query.next())
        return values;
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i)
        values.insert(record.fieldName(i).toLower(), query.value(i));
    return values;
}

QStringList ImportFixture::salutations() const {
    QSqlQuery query = db::run(QStringLiteral("select Name from CWNames order by Id"));
    QStringList names;
    while (query.next())
        names.append(query.value(0).toString());
    return names;
}

void ImportFixture::keepNumbersUnique() const {
    db::run(QStringLiteral("create unique index CustIdUnique on Cust(id)"));
}
