#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QTableView;
class RecordButtons;

namespace db {
class Dataset;
class DatasetModel;
class FieldBinder;
} // namespace db

// The users who may sign in, listed, added, edited and deleted in place. The
// administrator row is never listed, so it can be neither edited nor deleted.
class TFrmUsers : public QDialog {
public:
    explicit TFrmUsers(QWidget* parent = nullptr);

    // The statement of the list.
    static QStringList statement();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* addEditor(const char* name, const QString& field, int maxBytes);
    void buildLayout();
    void preparePasswordBox();

    db::Dataset* Qry_User;
    db::DatasetModel* Dts_User;
    db::FieldBinder* m_binder;
    QTableView* DBGridEh1;
    QLineEdit* DBEdit1;
    QLineEdit* DBEdit2;
    QLineEdit* DBEdit3;
    QComboBox* DBComboBoxEh1;
    QLineEdit* DBEdit5;
    QLineEdit* DBEdit6;
    QLineEdit* DBEdit7;
    QLineEdit* DBEdit8;
    RecordButtons* m_buttons;
};
