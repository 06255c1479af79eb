#include "members/report/member_reports.h"

#include "db/dataset.h"
#include "members/report/label_paper_dialog.h"
#include "members/report/label_report.h"
#include "members/report/member_list_report.h"
#include "members/report/member_rows.h"
#include "members/report/report_preview.h"

#include <QDateTime>

namespace members::report {

namespace {

std::vector<MemberRow> preparedRows(db::Dataset& query) {
    if (!query.isOpen())
        query.open();
    return memberRows(query);
}

} // namespace

void previewMemberList(db::Dataset& query, QWidget* parent) {
    const ListTitles titles = readListTitles();
    present(memberListReport(titles, preparedRows(query), QDateTime::currentDateTime()), parent);
}

void previewLabels(db::Dataset& query, QWidget* parent) {
    const LabelPaperChoice choice = ChooseLabelPaper(parent);
    if (choice.paper == 0)
        return;
    present(labelReport(choice.paper, preparedRows(query), choice.firstLabel), parent);
}

} // namespace members::report
