#pragma once

#include "members/report/label_paper.h"
#include "members/report/member_rows.h"
#include "members/report/report.h"

#include <QString>
#include <vector>

// Address labels, one per member, as a report.
namespace members::report {

// The lower line of a label: name, four spaces, salutation, four spaces, "啟".
QString labelNameLine(const MemberRow& row);

// Labels on the paper of choice (1 to 5) in the members' order, row by row
// across the columns, starting at firstLabel (from 1) of the first sheet.
Report labelReport(int choice, const std::vector<MemberRow>& rows, int firstLabel = 1);

} // namespace members::report
