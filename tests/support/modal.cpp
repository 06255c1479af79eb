#include "tests/support/modal.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

void poll(const std::function<void(QWidget*)>& inspect, int triesLeft) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr && triesLeft > 0) {
        QTimer::singleShot(10, [inspect, triesLeft] { poll(inspect, triesLeft - 1); });
        return;
    }
    if (modal == nullptr)
        return;
    inspect(modal);
    if (!modal->isVisible())
        return; // inspect answered it (its answer stays)
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

} // namespace

void whenModalShows(const std::function<void(QWidget*)>& inspect) {
    QTimer::singleShot(0, [inspect] { poll(inspect, 200); });
}

namespace {

void pollPreview(int triesLeft) {
    QWidget* modal = QApplication::activeModalWidget();
    if ((modal == nullptr || modal->objectName() != QLatin1String("FrmImportPreview")) &&
        triesLeft > 0) {
        QTimer::singleShot(10, [triesLeft] { pollPreview(triesLeft - 1); });
        return;
    }
    if (modal == nullptr || modal->objectName() != QLatin1String("FrmImportPreview"))
        return;
    auto* confirm = modal->findChild<QPushButton*>(QStringLiteral("btnImport"));
    if (confirm != nullptr && confirm->isDefault())
        QTest::keyClick(modal, Qt::Key_Return);
    if (modal->isVisible())
        modal->close(); // no default 導入: the import is refused
}

} // namespace

void confirmNextImportPreview() {
    QTimer::singleShot(0, [] { pollPreview(500); });
}
