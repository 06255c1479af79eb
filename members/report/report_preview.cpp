#include "members/report/report_preview.h"

#include "base/prompt.h"
#include "db/file_dialog.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
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

// Starts in the working directory, beside the register, and says where the
// file went.
void exportPdf(const Report& report, QWidget* parent) {
    const QString suggested = QDir::current().filePath(report.title + QStringLiteral(".pdf"));
    const QString path = pdfFileChooser()(parent, suggested);
    if (path.isEmpty())
        return;
    writePdf(report, path);
    Prompt::current().message(
        Prompt::Icon::Information, QStringLiteral("提示"),
        QStringLiteral("已匯出 PDF 檔案﹕%1")
            .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
}

namespace {

// Most of the screen, so that a page can be read without enlarging the
// window first.
QSize usefulPreviewSize(const QWidget* parent) {
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return {1000, 760};
    const QSize available = screen->availableGeometry().size();
    return {available.width() * 9 / 10, available.height() * 9 / 10};
}

} // namespace

void previewReport(const Report& report, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, report);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(report.title);
    dialog.resize(usefulPreviewSize(parent));
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
