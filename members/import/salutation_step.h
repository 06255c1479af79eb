#pragma once

#include <QString>

namespace members {

// Adds the salutation to CWNames unless a row has that name already (letter
// case ignored, as the database compares). Runs on the shared connection,
// inside the import's transaction.
void addSalutationIfAbsent(const QString& name);

} // namespace members
