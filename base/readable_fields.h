#pragma once

class QWidget;

// Field editors that are disabled while a window only shows a row still show
// their values in the normal text colour on a white field, instead of pale
// grey on grey: read-only, but readable.
void keepDisabledFieldsReadable(QWidget* container);
