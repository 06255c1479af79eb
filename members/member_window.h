#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

class DropDownBox;
class GridFooter;
class MemoEdit;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class RecordButtons;
class SortMarkerHeader;
struct MovementButtons;

namespace db {
class Dataset;
class DatasetModel;
class FieldBinder;
} // namespace db

namespace members {
class CriterionRow;
class GridLayout;
namespace search {
struct Statement;
}
} // namespace members

// The member window: the search and the grid of members on the first tab,
// every field of the current member on the second, the record buttons, the
// checks before a member is stored, and the grid's column layout kept in
// "DBGRidEhStatus.ini" in the working directory.
class TFrmCust : public QWidget {
public:
    explicit TFrmCust(QWidget* parent = nullptr);
    ~TFrmCust() override;

    // The member query: the rows the last search listed, in the order shown.
    db::Dataset* memberQuery() const { return Qry_Master; }
    // Opens the member query with the statement it holds when it is closed
    // (before any search: every member, in the database's order).
    void openIfClosed();

    // The number of the member the window last moved to, listed first or
    // stored.
    QString currentCustId() const { return m_currentCustId; }
    // A new member is being added through SbAdd.
    bool isAppending() const { return m_isAppending; }

    // Asked by every action that would reload the list or leave the member
    // being added or edited (searching, sorting, printing, moving, the list
    // tab, closing): the question 資料尚未儲存﹐是否儲存﹖ stores the member
    // (under the usual checks) or gives it up, or keeps it. True when the
    // action may go on; always true while no member is being edited.
    bool confirmLeaveRow();

    // Whether a stored member has the number (letter case as the database
    // compares it).
    static bool numberInUse(const QString& number);

    // The photo chooser; a file dialog unless a test replaces it. An empty
    // name means cancelled.
    void setPictureChooser(std::function<QString()> choose) { m_choosePicture = std::move(choose); }

    static QStringList designStatement();
    // The grid layout file, in the working directory.
    static QString gridLayoutPath();
    static QString gridLayoutSection() { return QStringLiteral("FrmCustDBGridEh1"); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Building the window.
    void buildQueries();
    QWidget* buildSearchPage();
    QGroupBox* buildSearchGroup();
    void buildGrid();
    QWidget* buildDetailsPage();
    QLineEdit* addEditor(const char* name, const QString& field, int maxBytes);
    QLabel* addLabel(const char* name, const QString& text);
    void buildButtonBar();
    void addShortcuts();
    void reloadMembers();

    // Show, editing state and moving.
    void prepareOnShow();
    void applyCaptions();
    void onStateChanged();
    void onMovedTo(int rowNumber, int count);
    void onPageChanged();
    void showPhoto(const QString& path);
    void showStoredBirthday();

    // Record buttons.
    void addMember();
    void editMember();
    void deleteMember();
    void saveMember();
    bool storeMember();
    void cancelEditing();
    bool confirmDelete();
    bool checkBeforeStoring();
    bool storeBirthday();
    bool numberTaken() const;
    void refuseDuplicateNumber();
    bool refuse(const QString& caption, const QString& text, QWidget* focus);
    void choosePhoto();

    // Search and sorting.
    void search();
    void quickSearch(const QString& typed);
    void printList();
    void printLabels();
    void showStatement(const members::search::Statement& statement);
    void sortByColumn(int logicalIndex);

    db::Dataset* Qry_Master;
    db::DatasetModel* Dts_Master;
    db::FieldBinder* m_binder;

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;

    members::CriterionRow* m_criteria;
    QCheckBox* CheckBox1;
    QPushButton* BitBtn1;
    QLineEdit* EditQuick;

    QTableView* DBGridEh1;
    SortMarkerHeader* m_header;
    GridFooter* m_footer;
    std::unique_ptr<members::GridLayout> m_gridLayout;

    QLineEdit* DBEdit1;
    QLineEdit* DBEdit6;
    QLineEdit* DBEdit10;
    QLineEdit* DBEdit13;
    DropDownBox* DBComboBox1;
    DropDownBox* DBComboBox2;
    QCheckBox* DBCheckBox1;
    MemoEdit* DBMemo1;
    QLabel* Image1;
    QPushButton* BtnSelectPhoto;
    QLabel* m_kindLabel;
    QLabel* m_enterDateLabel;
    QLabel* m_date1Label;
    QList<QLabel*> m_memoLabels;

    std::unique_ptr<MovementButtons> m_movement;
    QPushButton* BitBtn2;
    QPushButton* SbPreview;
    RecordButtons* m_buttons;
    QPushButton* SbExit;

    bool m_isAppending = false;
    bool m_reloadAfterEditing = false; // an import replaced the members meanwhile
    // Sets the member query's statement for the last 查詢 again (its number
    // bounds read anew); empty when the list came from anything else.
    std::function<void()> m_restateSearch;
    QString m_currentCustId;
    // The birthday box shows the stored calendar birthday, in the form it
    // is typed, when the member has no typed birthday; this is that text.
    QString m_birthdayFromDate;
    QString m_enterDateCaption;
    QString m_date1Caption;
    std::function<QString()> m_choosePicture;
};
