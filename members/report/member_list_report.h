#pragma once

#include "members/report/member_rows.h"
#include "members/report/report.h"

#include <QDateTime>
#include <vector>

// The printed member list as a report.
namespace members::report {

Report memberListReport(const ListTitles& titles, const std::vector<MemberRow>& rows,
                        const QDateTime& printedAt);

} // namespace members::report
