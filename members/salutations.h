#pragma once

#include <QString>

namespace members {

// Adds the salutation to CWNames unless a row has that name already (letter
// case ignored, as the database compares). Runs on the shared connection, so
// inside the caller's transaction when there is one.
void insertSalutationIfAbsent(const QString& name);

} // namespace members
