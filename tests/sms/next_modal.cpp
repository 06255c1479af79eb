#include "tests/sms/next_modal.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

void poll(const std::function<void(QWidget*)>& act, int triesLeft) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr && triesLeft > 0) {
        QTimer::singleShot(10, [act, triesLeft] { poll(act, triesLeft - 1); });
        return;
    }
    if (modal == nullptr) {
        ADD_FAILURE() << "no modal window showed";
        return;
    }
    act(modal);
    if (modal->isVisible()) {
        ADD_FAILURE() << "the modal window was left open: " << modal->objectName().toStdString();
        modal->close();
    }
}

} // namespace

void onNextModal(const std::function<void(QWidget*)>& act) {
    QTimer::singleShot(0, [act] { poll(act, 200); });
}
