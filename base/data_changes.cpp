#include "base/data_changes.h"

DataChanges& DataChanges::instance() {
    static DataChanges changes;
    return changes;
}
