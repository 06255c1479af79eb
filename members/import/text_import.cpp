#include "members/import/text_import.h"

#include "base/big5.h"
#include "base/data_changes.h"
#include "base/errors.h"
#include "base/prompt.h"
#include "db/connection.h"
#include "formats/import_errors.h"
#include "members/import/import_hooks.h"
#include "members/import/import_values.h"
#include "members/import/workbook_import_flow.h"

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

// A value of a member and where the list has it.
struct ListedValue {
    const char* column; // in Cust
    const char* label;
    int recordLine; // 1 to 7
    const QString& text;
};

// "第 12 行 姓名" and the reason.
QString lineErrorText(const ListedMember& member, const ListedValue& value, const QString& reason) {
    return QStringLiteral("第 %1 行 %2%3")
        .arg(member.line + value.recordLine - 1)
        .arg(QString::fromUtf8(value.label), reason);
}

void store(QSqlQuery& insert, const ListedMember& member) {
    const QString typedBirthday = big5::decode(member.birthday);
    const ListedValue values[] = {{"ID", "會員編號", 1, member.id},
                                  {"Name", "姓名", 1, member.name},
                                  {"HomeTel", "住家電話", 1, member.homeTel},
                                  {"MGBirthday", "生日", 1, typedBirthday},
                                  {"Address", "地址", 4, member.address},
                                  {"Tel", "電話", 5, member.tel},
                                  {"Memo", "備註", 5, member.memo}};
    for (const ListedValue& value : values) {
        try {
            checkStorableText(value.text);
        } catch (const ConversionError& error) {
            throw ConversionError(lineErrorText(member, value, error.text()));
        }
    }
    QVariant birthday;
    QVariant typed;
    if (member.birthday != kNoBirthday) {
        try {
            birthday =
                listedBirthday(member.birthday).toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
        } catch (const ConversionError& error) {
            throw ConversionError(lineErrorText(member, values[3], error.text()));
        }
        typed = typedBirthday;
    }
    insert.bindValue(QStringLiteral(":ID"), storedText(member.id));
    insert.bindValue(QStringLiteral(":Name"), storedText(member.name));
    insert.bindValue(QStringLiteral(":HomeTel"), storedText(member.homeTel));
    insert.bindValue(QStringLiteral(":Birthday"), birthday);
    insert.bindValue(QStringLiteral(":MGBirthday"), typed);
    insert.bindValue(QStringLiteral(":Address"), storedText(member.address));
    insert.bindValue(QStringLiteral(":Tel"), storedText(member.tel));
    insert.bindValue(QStringLiteral(":Memo"), storedText(member.memo));
    if (insert.exec())
        return;
    const Refusal refusal = refusalOf(db::databaseText(insert.lastError()));
    for (const ListedValue& value : values) {
        if (refusal.column.compare(QLatin1String(value.column), Qt::CaseInsensitive) == 0)
            throw DatabaseError(lineErrorText(member, value, refusalText(refusal, value.text)));
    }
    throw DatabaseError(
        QStringLiteral("第 %1 行%2").arg(member.line).arg(refusalText(refusal, QString())));
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
    const QString path =
        chooseImportFile(owner, QStringLiteral("文字檔 (*.txt);;所有檔案 (*)")).trimmed();
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("無法開啟檔案 %1: %2").arg(path, file.errorString()));
    status->setText(QStringLiteral("正在導入數據....."));
    QString failure;
    int imported = 0;
    try {
        const QByteArray text = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw FileError(QStringLiteral("無法讀取檔案 %1: %2").arg(path, file.errorString()));
        imported = importMemberList(text);
    } catch (const LunmarkError& error) {
        failure = error.text(); // rolled back
    } catch (const std::exception& error) {
        failure = QString::fromLocal8Bit(error.what());
    }
    if (failure.isNull()) {
        DataChanges::instance().announce();
        Prompt::current().message(Prompt::Icon::Information, kCaption, importSuccessText(imported));
    } else {
        Prompt::current().message(Prompt::Icon::Error, kCaption,
                                  QStringLiteral("導入錯誤\n%1").arg(failure));
    }
    status->clear();
}

} // namespace members
