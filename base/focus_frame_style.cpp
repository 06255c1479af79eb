#include "base/focus_frame_style.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOption>

void FocusFrameStyle::drawControl(ControlElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (!(option->state & State_HasFocus))
        return;
    SubElement frame;
    if (element == CE_PushButton)
        frame = SE_PushButtonFocusRect;
    else if (element == CE_CheckBox)
        frame = SE_CheckBoxFocusRect;
    else
        return;
    const QRect rect = subElementRect(frame, option, widget);
    painter->save();
    QPen pen(option->palette.color(QPalette::Highlight), 1, Qt::DotLine);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

void FocusFrameStyle::install() {
    QApplication::setStyle(new FocusFrameStyle(QApplication::style()->name()));
}
