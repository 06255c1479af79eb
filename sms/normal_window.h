#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class QTableView;
class RecordButtons;

namespace db {
class Dataset;
class DatasetModel;
class FieldBinder;
} // namespace db

// The common phrases, table Normal. From the main menu the list is kept up
// (add, edit, delete, save, cancel); from the send window one phrase is
// picked into the message with "選取".
class TFrmNormal : public QDialog {
public:
    enum Mode { Maintenance, Picking };

    explicit TFrmNormal(Mode mode, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildGrid();
    void focusPhrase();
    void deletePhrase();
    void pick();

    db::Dataset* Qry_Normal;
    db::DatasetModel* Dts_Normal;
    db::FieldBinder* m_binder;
    QTableView* DBGridEh1;
    QPlainTextEdit* DBMemo1;
    RecordButtons* m_buttons;
    QPushButton* BtnSelect;
    QPushButton* BtnExit;
};
