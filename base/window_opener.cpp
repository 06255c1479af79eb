#include "base/window_opener.h"

namespace windows {

QMdiSubWindow* findChild(QMdiArea* area, const QString& name) {
    for (QMdiSubWindow* sub : area->subWindowList()) {
        if (sub->widget() != nullptr && sub->widget()->objectName() == name)
            return sub;
    }
    return nullptr;
}

QWidget* openChild(QMdiArea* area, const QString& name, const std::function<QWidget*()>& create) {
    QMdiSubWindow* sub = findChild(area, name);
    if (sub == nullptr) {
        QWidget* widget = create();
        widget->setObjectName(name);
        sub = area->addSubWindow(widget);
        sub->setAttribute(Qt::WA_DeleteOnClose);
    }
    sub->show();
    sub->widget()->show();
    area->setActiveSubWindow(sub);
    sub->raise();
    return sub->widget();
}

void closeWindow(QWidget* window) {
    auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    if (sub != nullptr)
        sub->close();
    else
        window->close();
}

} // namespace windows
