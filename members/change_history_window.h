#pragma once

#include "members/member_search.h"

#include <QDialog>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace db {
class Dataset;
class DatasetModel;
} // namespace db

// 修改紀錄: who changed which member, when and at which desk, from what to
// what, newest first; filtered by date range, user and member number. A
// change can be taken back (復原此變更) and a deleted member restored
// (還原此會員), both through the member's normal save. Opened from the
// member window for its current member and from the menu for all members.
class TFrmCustHistory : public QDialog {
    Q_OBJECT
public:
    // member: the member number to show at first; empty for every member.
    explicit TFrmCustHistory(const QString& member = {}, QWidget* parent = nullptr);

    db::Dataset* records() const { return Qry_History; }

    void search();
    void revertChange();
    void restoreMember();

    QCheckBox* ChkDate;
    QDateEdit* DateFrom;
    QDateEdit* DateTo;
    QLineEdit* EdtUser;
    QLineEdit* EdtMember;
    QPushButton* BtnSearch;
    QTableView* DBGridEh1;
    QPushButton* BtnRevert;
    QPushButton* BtnRestore;
    QPushButton* BtnExit;
    QLabel* LblCount;

private:
    void buildGrid();
    void onCurrentChanged();
    void revertField(qint64 id);
    void afterChange();

    db::Dataset* Qry_History;
    db::DatasetModel* DataSource1;
    members::search::Captions m_captions;
};
