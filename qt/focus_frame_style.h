#pragma once

#include <QProxyStyle>

// The window's style: Fusion, which honours the palette everywhere so the
// buttons keep their green faces, with a focus mark a child can see. Fusion
// marks the focused button with a 1 px outline of nearly the same green;
// here it gets a 2 px dark frame just inside its edge. Unfocused buttons
// look exactly as in Fusion.
class FocusFrameStyle final : public QProxyStyle {
  public:
    FocusFrameStyle();

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
};
