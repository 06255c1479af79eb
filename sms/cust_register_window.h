#pragma once

#include <QDialog>

class QLineEdit;
class RecordButtons;

namespace db {
class Dataset;
class FieldBinder;
} // namespace db

// The SMS account the gateway's vendor issued: account, password and
// customer name in the first settings row. Saving also hands them to the
// session at once, so the next gateway request uses them.
class TFrmCustRegister : public QDialog {
public:
    explicit TFrmCustRegister(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* addEditor(const char* name, const QString& field);
    void save();

    db::Dataset* Qry_Query;
    db::FieldBinder* DataSource1;
    QLineEdit* DBEdit17;
    QLineEdit* DBEdit18;
    QLineEdit* DBEdit19;
    RecordButtons* m_buttons;
};
