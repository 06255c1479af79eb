#pragma once

class TFrmSendMessage;

// The send window that the phrase, history and custom-recipient windows act
// on: the most recently created one, as long as it exists.
namespace sms {

// nullptr when no send window exists.
TFrmSendMessage* currentSendWindow();

// Called by each send window when it is created.
void setCurrentSendWindow(TFrmSendMessage* window);

} // namespace sms
