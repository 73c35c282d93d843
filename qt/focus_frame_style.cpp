#include "focus_frame_style.h"

#include "control_factory.h"
#include "form_rules.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

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
    painter->setBrush(toQColor(ButtonFocusMark.colour));
    // Four bars rather than a stroked rectangle: exact pixels at any scale.
    const int inset = ButtonFocusMark.inset;
    const int width = ButtonFocusMark.width;
    const QRect inside = option->rect.adjusted(inset, inset, -inset, -inset);
    const QRect hole = inside.adjusted(width, width, -width, -width);
    painter->drawRect(QRect(inside.topLeft(), QPoint(inside.right(), hole.top() - 1)));
    painter->drawRect(QRect(QPoint(inside.left(), hole.bottom() + 1), inside.bottomRight()));
    painter->drawRect(QRect(QPoint(inside.left(), hole.top()), QPoint(hole.left() - 1, hole.bottom())));
    painter->drawRect(QRect(QPoint(hole.right() + 1, hole.top()), QPoint(inside.right(), hole.bottom())));
    painter->restore();
}
