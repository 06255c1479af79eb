#include "base/readable_fields.h"

#include <QPalette>
#include <QWidget>

void keepDisabledFieldsReadable(QWidget* container) {
    QPalette palette = container->palette();
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText})
        palette.setColor(QPalette::Disabled, role, palette.color(QPalette::Active, role));
    palette.setColor(QPalette::Disabled, QPalette::Base,
                     palette.color(QPalette::Active, QPalette::Base));
    container->setPalette(palette);
}
