#include "app/placeholder_window.h"

#include "base/window_opener.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

void fill(QWidget* window, const QString& caption, const std::function<void()>& close) {
    window->setWindowTitle(caption);
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(new QLabel(placeholderText(caption), window));
    auto* button = new QPushButton(QStringLiteral("關閉"), window);
    button->setObjectName(QStringLiteral("SbExit"));
    QObject::connect(button, &QPushButton::clicked, window, close);
    layout->addWidget(button);
}

} // namespace

QString placeholderText(const QString& caption) {
    return QStringLiteral("「%1」功能尚未提供，將在後續版本加入。").arg(caption);
}

PlaceholderWindow::PlaceholderWindow(const QString& caption, QWidget* parent) : QWidget(parent) {
    fill(this, caption, [this] { windows::closeWindow(this); });
}

PlaceholderDialog::PlaceholderDialog(const QString& caption, QWidget* parent) : QDialog(parent) {
    fill(this, caption, [this] { reject(); });
}
