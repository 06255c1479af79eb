#include "members/import/import_progress.h"

#include <QProgressDialog>

namespace members {
namespace {

constexpr int kUpdateMilliseconds = 100;

} // namespace

ImportProgress::ImportProgress(QWidget* owner, int firstRow, int lastRow)
    : m_firstRow(firstRow), m_total(lastRow - firstRow + 1) {
    if (m_total <= kQuietRows)
        return;
    m_dialog = std::make_unique<QProgressDialog>(owner);
    m_dialog->setObjectName(QStringLiteral("ImportProgress"));
    m_dialog->setWindowTitle(QStringLiteral("數據導入"));
    // The import cannot stop halfway: no cancel button and no close button.
    m_dialog->setCancelButton(nullptr);
    m_dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setMinimumDuration(0);
    m_dialog->setRange(0, m_total);
    show(0);
    m_dialog->show();
    m_sinceUpdate.start();
}

ImportProgress::~ImportProgress() {
    // The dialog closes with this object.
}

void ImportProgress::update(int nextRow) {
    if (!m_dialog || m_sinceUpdate.elapsed() < kUpdateMilliseconds)
        return;
    show(nextRow - m_firstRow);
    m_sinceUpdate.restart();
}

void ImportProgress::show(int done) {
    m_dialog->setLabelText(QStringLiteral("正在導入數據.....\n已導入 %1 筆").arg(done));
    // A modal progress dialog repaints itself while it takes its value.
    m_dialog->setValue(qMin(done, m_total));
}

} // namespace members
