#pragma once

namespace db {
class Dataset;
}
class QWidget;

// The two printed reports of the member window, each shown in the print
// preview. Both print the rows of the member query as they stand, in the
// order shown; a query not yet opened is opened with the statement it holds
// (every member) when the report is prepared.
namespace members::report {

// The member list, headed with the report title, address, telephone and fax
// of the settings row.
void previewMemberList(db::Dataset& query, QWidget* parent);

// Asks for the label paper (ChooseLabelPaper); nothing more when cancelled,
// otherwise the address labels on that paper.
void previewLabels(db::Dataset& query, QWidget* parent);

} // namespace members::report
