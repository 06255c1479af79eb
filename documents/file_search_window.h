#pragma once

#include <QDialog>

class DateEditor;
class QLineEdit;
class QPushButton;

namespace db {
class Dataset;
}

// The detailed document search: five texts that match anywhere in their
// columns and a range of entry dates. It shows no result of its own: "查詢"
// puts the found records into the document window's query, whose list and
// fields then show them, and the search window stays open.
class TFrmFileSearch : public QDialog {
public:
    // files is the document window's query, which the search replaces.
    explicit TFrmFileSearch(db::Dataset* files, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* addEditor(const char* name);
    DateEditor* addDateEditor(const char* name);
    void buildLayout();
    void setDefaults();
    void search();

    db::Dataset* m_files;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    DateEditor* DBDateTimeEditEh1;
    DateEditor* DBDateTimeEditEh2;
    QLineEdit* Edit5;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
};
