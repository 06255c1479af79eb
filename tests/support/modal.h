#pragma once

#include <QWidget>
#include <functional>

// Runs inspect on the next modal window as soon as it shows, then closes it
// unless inspect closed it already (say by pressing its OK button).
// Use before the action that opens the window modally.
void whenModalShows(const std::function<void(QWidget*)>& inspect);

// Presses 導入, the default button, by Enter on the import preview that the
// import window shows before it writes anything; waits for that window
// (other modal windows may be up meanwhile). Use before the 導入 click.
void confirmNextImportPreview();
