#include "base/program_title.h"

QString programTitle() {
    return QStringLiteral("管理軟體");
}
