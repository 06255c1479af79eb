#pragma once

#include <QString>

// The program's title, shown in the task bar, on the sign-in banner and as
// the caption of its messages.
QString programTitle();
