#pragma once

#include <QWidget>
#include <memory>

class QLineEdit;
class QPushButton;
class QTableView;
class RecordButtons;
struct MovementButtons;

namespace db {
class Dataset;
class DatasetModel;
class FieldBinder;
} // namespace db

// A list of names to pick from, kept in one table: the member categories
// (TFrmKind) and the salutations (TFrmName) are this one window with
// different tables, titles and messages. Save stores the row and starts the
// next one at once, so the window stays ready for another name until Cancel.
class NameListWindow : public QWidget {
public:
    struct Setup {
        const char* objectName;
        QString caption;
        QString statement;
        QString table;
        QString field;
        QString hiddenField; // an identity column kept out of sight, or empty
        QString title;       // of the name column
        int width;           // of the name column
        QString label;       // before the editor
        QString emptyMessage;
        // Names in use elsewhere that the list lacks (a select of one
        // column) and the button that adds them; both empty when the list
        // offers no such button.
        QString missingNames;
        QString addMissingButton;
    };

    NameListWindow(const Setup& setup, QWidget* parent = nullptr);
    ~NameListWindow() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildGrid(const Setup& setup);
    void buildButtons();
    void focusEditor();
    void save();
    void cancel();
    bool checkName();
    void onStateChanged();
    QStringList missingNames() const;
    void addMissingNames();

    QString m_emptyMessage;
    QString m_field;
    QString m_missingNames;
    QPushButton* m_addMissing = nullptr;
    db::Dataset* ADOQuery1;
    db::DatasetModel* DataSource1;
    db::FieldBinder* m_binder;
    QTableView* DBGridEh1;
    QLineEdit* DBEdit1;
    std::unique_ptr<MovementButtons> m_movement;
    RecordButtons* m_buttons;
};

// Member categories: table Kinds.
class TFrmKind : public NameListWindow {
public:
    explicit TFrmKind(QWidget* parent = nullptr);
};

// Salutations: table CWNames.
class TFrmName : public NameListWindow {
public:
    explicit TFrmName(QWidget* parent = nullptr);
};
