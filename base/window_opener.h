#pragma once

#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <functional>

// The two ways windows are opened from the menu.
namespace windows {

// The open child window named name (its object name), or nullptr.
QMdiSubWindow* findChild(QMdiArea* area, const QString& name);

// Single instance, modeless child: brings the open one named name to the
// front, or adds the one made by create. The child frees itself on close.
QWidget* openChild(QMdiArea* area, const QString& name, const std::function<QWidget*()>& create);

// Closes a window: the child window frame around it when it is a child.
void closeWindow(QWidget* window);

// New window, modal: a new instance each time, freed when it closes.
template <class Dialog, class... Args> int openModal(QWidget* parent, Args&&... args) {
    Dialog dialog(std::forward<Args>(args)..., parent);
    return dialog.exec();
}

} // namespace windows
