#include "members/import/text_import.h"

#include "app/big5.h"
#include "app/errors.h"
#include "app/prompt.h"
#include "db/connection.h"
#include "members/import/import_hooks.h"
#include "members/import/import_values.h"

#include <QFile>
#include <QLabel>
#include <QSqlError>
#include <QSqlQuery>

namespace members {
namespace {

const QStringList kInsert = {
    QStringLiteral("insert into cust(ID,Name,HomeTel,Birthday,MGBirthday,Address,Tel,Memo)"),
    QStringLiteral(" values(:ID,:Name,:HomeTel,:Birthday,:MGBirthday,:Address,:Tel,:Memo)")};

const QString kCaption = QStringLiteral("數據導入");

void store(QSqlQuery& insert, const ListedMember& member) {
    QVariant birthday;
    QVariant typed;
    if (member.birthday != kNoBirthday) {
        birthday = listedBirthday(member.birthday).toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
        typed = big5::decode(member.birthday);
    }
    insert.bindValue(QStringLiteral(":ID"), storedText(member.id));
    insert.bindValue(QStringLiteral(":Name"), storedText(member.name));
    insert.bindValue(QStringLiteral(":HomeTel"), storedText(member.homeTel));
    insert.bindValue(QStringLiteral(":Birthday"), birthday);
    insert.bindValue(QStringLiteral(":MGBirthday"), typed);
    insert.bindValue(QStringLiteral(":Address"), storedText(member.address));
    insert.bindValue(QStringLiteral(":Tel"), storedText(member.tel));
    insert.bindValue(QStringLiteral(":Memo"), storedText(member.memo));
    if (!insert.exec())
        db::raise(insert.lastError());
}

} // namespace

int importMemberList(const QByteArray& text) {
    db::Transaction transaction;
    const QList<ListedMember> members = readMemberList(text);
    {
        QSqlQuery insert(db::connection());
        if (!insert.prepare(kInsert.join('\n')))
            db::raise(insert.lastError());
        for (const ListedMember& member : members)
            store(insert, member);
    }
    transaction.commit();
    return int(members.size());
}

void importMembersFromText(QWidget* owner, QLabel* status) {
    const QString path = chooseImportFile(owner, QStringLiteral("*.txt")).trimmed();
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("無法開啟檔案 %1: %2").arg(path, file.errorString()));
    status->setText(QStringLiteral("正在導入數據....."));
    bool stored = false;
    try {
        const QByteArray text = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw FileError(QStringLiteral("無法讀取檔案 %1: %2").arg(path, file.errorString()));
        importMemberList(text);
        stored = true;
    } catch (const std::exception&) {
        // Rolled back; the message says only that nothing was stored.
    }
    if (stored)
        Prompt::current().message(Prompt::Icon::Information, kCaption, QStringLiteral("導入成功!"));
    else
        Prompt::current().message(Prompt::Icon::Error, kCaption, QStringLiteral("導入錯誤"));
    status->clear();
}

} // namespace members
