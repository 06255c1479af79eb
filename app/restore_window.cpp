#include "app/restore_window.h"

#include "base/keyboard_navigation.h"
#include "base/prompt.h"
#include "db/backup.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("還原備份");

QString membersText(qint64 members) {
    return members < 0 ? QStringLiteral("無法讀取") : QString::number(members);
}

QTableWidgetItem* cell(const QString& text, const QString& path) {
    auto* item = new QTableWidgetItem(text);
    item->setData(Qt::UserRole, path);
    return item;
}

} // namespace

QString restoreQuestion(const QString& backupPath, const QString& intro, const QString& outro) {
    for (const db::BackupInfo& backup : db::listBackups()) {
        if (QDir::cleanPath(backup.path) != QDir::cleanPath(backupPath))
            continue;
        // The file's own name too, whole: it tells copies of the same second
        // apart and is what the backup folder shows.
        return intro +
               QStringLiteral("要用 %1 的備份 %2（%3 位會員）還原資料庫嗎﹖\n")
                   .arg(backup.taken.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")),
                        QFileInfo(backup.path).fileName(), membersText(backup.members)) +
               outro;
    }
    return intro +
           QStringLiteral("要用備份 %1 還原資料庫嗎﹖\n")
               .arg(QDir::toNativeSeparators(backupPath)) +
           outro;
}

bool confirmAndRestore(const QString& backupPath, const QString& question) {
    if (!Prompt::current().question(kCaption, question, Prompt::No))
        return false;
    const QString former = db::restoreBackup(backupPath);
    Prompt::current().message(Prompt::Icon::Information, kCaption,
                              QStringLiteral("還原完成。\n還原前的資料已保存在 %1")
                                  .arg(QDir::toNativeSeparators(former)));
    return true;
}

TFrmRestore::TFrmRestore(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmRestore"));
    setWindowTitle(kCaption);
    auto* hint = new QLabel(
        QStringLiteral("備份存放在 %1").arg(QDir::toNativeSeparators(db::backupFolder())), this);
    hint->setWordWrap(true);
    BackupList = new QTableWidget(0, 3, this);
    BackupList->setObjectName(QStringLiteral("BackupList"));
    BackupList->setHorizontalHeaderLabels(
        {QStringLiteral("日期"), QStringLiteral("時間"), QStringLiteral("會員數")});
    BackupList->setSelectionBehavior(QAbstractItemView::SelectRows);
    BackupList->setSelectionMode(QAbstractItemView::SingleSelection);
    BackupList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    BackupList->verticalHeader()->hide();
    BackupList->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    BtnRestore = new QPushButton(QStringLiteral("還原"), this);
    BtnRestore->setObjectName(QStringLiteral("BtnRestore"));
    BtnRestore->setAutoDefault(false);
    BtnExit = new QPushButton(QStringLiteral("離開"), this);
    BtnExit->setObjectName(QStringLiteral("BtnExit"));
    BtnExit->setAutoDefault(false);
    keyboard::setEscapeButton(BtnExit);
    connect(BtnRestore, &QPushButton::clicked, this, &TFrmRestore::restoreChosen);
    connect(BtnExit, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnRestore);
    buttons->addWidget(BtnExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(BackupList, 1);
    layout->addLayout(buttons);
    fill();
    resize(460, 360);
}

void TFrmRestore::fill() {
    const QList<db::BackupInfo> backups = db::listBackups();
    BackupList->setRowCount(int(backups.size()));
    for (int row = 0; row < int(backups.size()); ++row) {
        const db::BackupInfo& backup = backups.at(row);
        BackupList->setItem(row, 0,
                            cell(backup.taken.toString(QStringLiteral("yyyy/MM/dd")), backup.path));
        BackupList->setItem(row, 1,
                            cell(backup.taken.toString(QStringLiteral("HH:mm:ss")), backup.path));
        auto* members = cell(membersText(backup.members), backup.path);
        members->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        BackupList->setItem(row, 2, members);
    }
    if (!backups.isEmpty())
        BackupList->selectRow(0);
    BtnRestore->setEnabled(!backups.isEmpty());
}

void TFrmRestore::restoreChosen() {
    const QList<QTableWidgetItem*> chosen = BackupList->selectedItems();
    if (chosen.isEmpty()) {
        Prompt::current().message(Prompt::Icon::Information, kCaption,
                                  QStringLiteral("請先選擇要還原的備份"));
        return;
    }
    const QString path = chosen.first()->data(Qt::UserRole).toString();
    if (confirmAndRestore(path, restoreQuestion(path)))
        fill();
}
