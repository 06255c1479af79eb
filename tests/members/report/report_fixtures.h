#pragma once

#include "members/report/report_preview.h"

#include <QString>
#include <QStringList>
#include <vector>

// Keeps every report handed to the preview instead of showing it.
class RecordedReports {
public:
    RecordedReports();
    ~RecordedReports();
    RecordedReports(const RecordedReports&) = delete;
    RecordedReports& operator=(const RecordedReports&) = delete;

    std::vector<members::report::Report> reports;

private:
    members::report::Presenter m_previous;
};

// Answers the next label-paper dialog: picks the paper shown as choiceText,
// sets the first label and presses "列印".
void choosePaperWhenAsked(const QString& choiceText, int firstLabel = 1);

// The names, among those given, in the order the PDF's pages read them.
QStringList namesInReadingOrder(const QString& pdfPath, const QStringList& names);

// The names, among those given, in the order of the labels they stand on
// (paper of choice, first label 1), found by their position on the sheets.
QStringList namesInLabelOrder(const QString& pdfPath, int choice, const QStringList& names);
