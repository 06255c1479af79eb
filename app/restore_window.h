#pragma once

#include <QDialog>

class QPushButton;
class QTableWidget;

// 還原備份: the backups of the database with their date, time and number of
// members; restores the chosen one after a question that defaults to No.
class TFrmRestore : public QDialog {
public:
    explicit TFrmRestore(QWidget* parent = nullptr);

    QTableWidget* BackupList;
    QPushButton* BtnRestore;
    QPushButton* BtnExit;

private:
    void fill();
    void restoreChosen();
};

// The question before a restore, and the restore itself with its report;
// shared by the window and the start-up's offer for a damaged database.
// True when the backup was put back.
bool confirmAndRestore(const QString& backupPath, const QString& question);

// The question's text for one backup: when it was taken, how many members,
// between intro and what becomes of the current database.
QString restoreQuestion(const QString& backupPath, const QString& intro = {},
                        const QString& outro = QStringLiteral("目前的資料會先另存一份備份。"));
