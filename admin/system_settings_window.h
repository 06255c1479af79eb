#pragma once

#include <QWidget>

class QLineEdit;
class QGroupBox;
class QTabWidget;
class RecordButtons;

namespace db {
class Dataset;
class FieldBinder;
} // namespace db

// The installation's settings: company data for printed lists, the captions
// of the member window's configurable fields, the word used for members and,
// for the administrator only, the SMS gateway codes.
class TFrmSystemSet : public QWidget {
    Q_OBJECT
public:
    explicit TFrmSystemSet(QWidget* parent = nullptr);

    bool advancedPageVisible() const;

signals:
    // The settings row was stored; windows showing its texts refresh them.
    void saved();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLineEdit* addEditor(const char* name, const QString& field, int maxBytes);
    QWidget* buildSettingsPage();
    QWidget* buildAdvancedPage();
    void startEditing();
    void cancelEditing();
    void save();

    db::Dataset* Qry_Query;
    db::FieldBinder* DataSource1;
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QLineEdit* DBEdit7;
    RecordButtons* m_buttons;
};
