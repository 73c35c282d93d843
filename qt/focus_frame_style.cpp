#include "focus_frame_style.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace {

constexpr int FrameWidth = 2;
const QColor FrameColour(0, 0, 0); // the buttons' text colour, sharp on the green face

} // namespace

FocusFrameStyle::FocusFrameStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void FocusFrameStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                  const QWidget *widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element != CE_PushButton || !(option->state & State_HasFocus))
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(Qt::NoPen);
    painter->setBrush(FrameColour);
    // Four bars rather than a stroked rectangle: exact pixels at any scale.
    const QRect inside = option->rect.adjusted(1, 1, -1, -1);
    const QRect hole = inside.adjusted(FrameWidth, FrameWidth, -FrameWidth, -FrameWidth);
    painter->drawRect(QRect(inside.topLeft(), QPoint(inside.right(), hole.top() - 1)));
    painter->drawRect(QRect(QPoint(inside.left(), hole.bottom() + 1), inside.bottomRight()));
    painter->drawRect(QRect(QPoint(inside.left(), hole.top()), QPoint(hole.left() - 1, hole.bottom())));
    painter->drawRect(QRect(QPoint(hole.right() + 1, hole.top()), QPoint(inside.right(), hole.bottom())));
    painter->restore();
}
