#pragma once

#include <QProxyStyle>

// The style in use, with a visible frame on the push button or check box
// that has the focus: the plain styles leave a focused default button looking
// as it does without the focus, so a keyboard user cannot tell where Enter
// goes.
class FocusFrameStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

    // Puts the style over the application's current one.
    static void install();
};
