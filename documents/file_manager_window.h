#pragma once

#include <QDialog>

class DateEditor;
class DateFieldBinder;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class RecordButtons;

namespace db {
class Dataset;
class DatasetModel;
class FieldBinder;
} // namespace db

// The document register: one record per office document with its name,
// category, number, activity, summary, entry date and file path. The list
// shows the current result; a quick search by name and number, or the
// detailed search window, replaces it. The document file is chosen with the
// file-open dialog and opened with the application the desktop registers.
class TFrmFileMgr : public QDialog {
public:
    explicit TFrmFileMgr(QWidget* parent = nullptr);

    // The choices of the file-open dialog, Word files first.
    static QString documentFilter();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* addEditor(const char* name, const QString& field, int maxBytes);
    QPushButton* addButton(const char* name, const QString& caption);
    void buildQuery();
    void buildEditors();
    void buildButtons();
    void buildLayout();
    void updateButtons();
    void deleteRecord();
    void browseFile();
    void openFile();
    void quickSearch();
    void detailedSearch();
    void copyMemo();

    db::Dataset* Qry_File;
    db::DatasetModel* Dts_File;
    db::FieldBinder* m_binder;
    DateFieldBinder* m_dateBinder;
    QTableView* DBGridEh1;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QPushButton* BitBtn3;
    QLineEdit* DBEdit1;
    QLineEdit* DBEdit2;
    QLineEdit* DBEdit3;
    QLineEdit* DBEdit4;
    QPlainTextEdit* DBMemo1;
    QLineEdit* DBEdit5;
    QPushButton* BtnBrowse;
    QPushButton* BtnEdit;
    DateEditor* DBDateTimeEditEh1;
    QPushButton* SbSearch;
    QPushButton* BtnCopyMemo;
    RecordButtons* m_buttons;
};
