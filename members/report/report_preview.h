#pragma once

#include "members/report/report.h"

#include <QString>
#include <functional>

class QWidget;

// Showing a report: Qt's print preview, from which the user prints, with an
// added "匯出 PDF" action that writes the report to a PDF file.
namespace members::report {

// Shows the report in a print preview dialog, modally.
void previewReport(const Report& report, QWidget* parent);

// What a report is shown with; the preview dialog unless replaced (tests).
using Presenter = std::function<void(const Report& report, QWidget* parent)>;
// Replaces the presenter and returns the one in use; an empty one restores
// the preview dialog.
Presenter setPresenter(Presenter presenter);
// Hands the report to the presenter.
void present(const Report& report, QWidget* parent);

// Asks for the PDF file to export to; an empty name means cancelled. A save
// dialog unless replaced (tests).
using PdfFileChooser = std::function<QString(QWidget* parent, const QString& suggested)>;
PdfFileChooser setPdfFileChooser(PdfFileChooser chooser);

// The export action of the preview: asks for a file and writes the PDF.
void exportPdf(const Report& report, QWidget* parent);

} // namespace members::report
