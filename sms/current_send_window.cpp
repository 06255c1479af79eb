#include "sms/current_send_window.h"

#include "sms/send_message_window.h"

#include <QPointer>

namespace sms {
namespace {

// Cleared by itself when the window is destroyed.
QPointer<TFrmSendMessage>& current() {
    static QPointer<TFrmSendMessage> window;
    return window;
}

} // namespace

TFrmSendMessage* currentSendWindow() {
    return current().data();
}

void setCurrentSendWindow(TFrmSendMessage* window) {
    current() = window;
}

} // namespace sms
