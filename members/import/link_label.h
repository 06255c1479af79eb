#pragma once

#include <QLabel>

namespace members {

// A label shown as a link (blue, underlined, a hand cursor) that reports a
// click of the left mouse button.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace members
