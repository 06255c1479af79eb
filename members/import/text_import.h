#pragma once

#include "members/import/member_list.h"

class QLabel;
class QWidget;

namespace members {

// Stores the members of a printed member list in Cust in one transaction:
// number, name, home telephone, address, telephone and note as texts, and,
// unless the birthday reads "/  /", the birthday as typed and its calendar
// date. Every other column keeps its default. Any error rolls everything
// back and is thrown on. Returns the number of members stored.
int importMemberList(const QByteArray& text);

// Imports a member list the user picks, as the main window's menu entry
// does: the file dialog (cancelling it changes nothing), then the members in
// one transaction while status shows "正在導入數據.....", then "導入成功!" or,
// after rolling everything back, "導入錯誤" and on the next line what failed
// (such as 第 26 行 生日「65/02/30」不是有效的日期), caption "數據導入"; status is
// emptied at the end. A file that cannot be opened is reported by the
// general error report (FileError thrown) before anything changes.
void importMembersFromText(QWidget* owner, QLabel* status);

} // namespace members
