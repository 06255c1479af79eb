#pragma once

#include <QWidget>
#include <functional>

// Runs act on the next modal window as soon as it shows. Unlike
// whenModalShows, the window is left to act to close, so a test can end it
// the way a user would (say, with "選取", which accepts it).
void onNextModal(const std::function<void(QWidget*)>& act);
