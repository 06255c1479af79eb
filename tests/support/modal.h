#pragma once

#include <QWidget>
#include <functional>

// Runs inspect on the next modal window as soon as it shows, then closes it
// unless inspect closed it already (say by pressing its OK button).
// Use before the action that opens the window modally.
void whenModalShows(const std::function<void(QWidget*)>& inspect);
