#include "members/report/report_font.h"

#include <QFontDatabase>

namespace members::report {

namespace {

// Faces with Arial's measures where Arial itself is missing, then faces with
// Traditional Chinese glyphs: Windows first, then the Linux packages.
const char* const kFallbackFaces[] = {
    "Liberation Sans", "Arimo",         "Microsoft JhengHei", "PMingLiU",          "MingLiU",
    "AR PL UMing TW",  "AR PL UKai TW", "Noto Sans CJK TC",   "Noto Serif CJK TC",
};

} // namespace

QStringList reportFamilies() {
    QStringList families{QStringLiteral("Arial")};
    for (const char* face : kFallbackFaces) {
        const QString family = QString::fromLatin1(face);
        if (QFontDatabase::hasFamily(family))
            families << family;
    }
    return families;
}

QFont reportFont(qreal pixels, bool bold) {
    QFont font;
    font.setFamilies(reportFamilies());
    font.setPointSizeF(pixels * 72.0 / 96.0);
    font.setBold(bold);
    return font;
}

} // namespace members::report
