#include "tests/support/modal.h"

#include <QApplication>
#include <QDialog>
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
