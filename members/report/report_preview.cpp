#include "members/report/report_preview.h"

#include "app/file_dialog.h"

#include <QAction>
#include <QDir>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

namespace members::report {

namespace {

QString choosePdfFile(QWidget* parent, const QString& suggested) {
    return filedialog::saveFile(parent, QStringLiteral("PDF (*.pdf)"), suggested,
                                QStringLiteral("匯出 PDF"));
}

PdfFileChooser& pdfFileChooser() {
    static PdfFileChooser chooser = choosePdfFile;
    return chooser;
}

Presenter& presenter() {
    static Presenter current = previewReport;
    return current;
}

// The printer the preview paints on and prints to: the report's paper.
void preparePrinter(QPrinter& printer, const Report& report) {
    printer.setDocName(report.title);
    printer.setFullPage(true);
    printer.setPageLayout(pageLayout(report));
}

} // namespace

Presenter setPresenter(Presenter replacement) {
    Presenter previous = presenter();
    presenter() = replacement ? std::move(replacement) : Presenter(previewReport);
    return previous;
}

void present(const Report& report, QWidget* parent) {
    presenter()(report, parent);
}

PdfFileChooser setPdfFileChooser(PdfFileChooser replacement) {
    PdfFileChooser previous = pdfFileChooser();
    pdfFileChooser() = replacement ? std::move(replacement) : PdfFileChooser(choosePdfFile);
    return previous;
}

void exportPdf(const Report& report, QWidget* parent) {
    const QString suggested = QDir::home().filePath(report.title + QStringLiteral(".pdf"));
    const QString path = pdfFileChooser()(parent, suggested);
    if (!path.isEmpty())
        writePdf(report, path);
}

void previewReport(const Report& report, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, report);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(report.title);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [&report](QPrinter* target) { render(report, *target); });

    auto* exportAction = new QAction(QStringLiteral("匯出 PDF"), &dialog);
    exportAction->setObjectName(QStringLiteral("exportPdf"));
    QObject::connect(exportAction, &QAction::triggered, &dialog,
                     [&report, &dialog] { exportPdf(report, &dialog); });
    if (auto* toolBar = dialog.findChild<QToolBar*>()) {
        toolBar->addSeparator();
        toolBar->addAction(exportAction);
    } else {
        dialog.addAction(exportAction);
    }
    dialog.exec();
}

} // namespace members::report
