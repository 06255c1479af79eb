#pragma once

#include <QDialog>

class QDateEdit;
class QLineEdit;
class QPushButton;
class QTableView;

namespace db {
class Dataset;
class DatasetModel;
} // namespace db

// The messages sent, by recipient and date, newest first. A double click on a
// row prepares that message again in the current send window: its recipient
// line, its text as a new last line of the message, and its signature.
class TFrmSendHistory : public QDialog {
public:
    explicit TFrmSendHistory(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildGrid();
    void search();
    void resend();

    QLineEdit* Edit1;
    QDateEdit* DBDateTimeEditEh1;
    QDateEdit* DBDateTimeEditEh2;
    QPushButton* BitBtn1;
    db::Dataset* Qry_MsgHistory;
    db::DatasetModel* DataSource1;
    QTableView* DBGridEh1;
};
