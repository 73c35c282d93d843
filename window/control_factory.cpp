#include "control_factory.h"

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QString>

namespace {

constexpr double PointsPerInch = 72;
constexpr double ReferenceDpi = 96;
constexpr ColourWord StandardText = Black;

Qt::Alignment toQtAlignment(TextAlignment alignment)
{
    switch (alignment) {
    case TextAlignment::Centre:
        return Qt::AlignHCenter;
    case TextAlignment::Right:
        return Qt::AlignRight;
    case TextAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

// A palette built from the row's colours alone, so a dark or otherwise themed
// desktop cannot change the window's look.
QPalette paletteFor(const ControlSpec &spec)
{
    const QColor background = toQColor(spec.background.value_or(FormBackground));
    const QColor text = toQColor(spec.textColour.value_or(StandardText));
    QPalette palette(background);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, background);
        palette.setColor(group, QPalette::Base, background);
        palette.setColor(group, QPalette::Button, background);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::Text, text);
    }
    return palette;
}

QWidget *createPushButton(const ControlSpec &spec, QWidget *parent)
{
    auto *button = new QPushButton(toQString(spec.text), parent);
    // Neither Enter nor Escape may press a button behind the learner's back.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QWidget *createTextField(const ControlSpec &spec, QWidget *parent)
{
    auto *field = new QLineEdit(toQString(spec.text), parent);
    field->setAlignment(toQtAlignment(spec.alignment) | Qt::AlignVCenter);
    return field;
}

QWidget *createLabel(const ControlSpec &spec, QWidget *parent)
{
    auto *label = new QLabel(toQString(spec.text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(toQtAlignment(spec.alignment) | Qt::AlignTop);
    label->setAutoFillBackground(true);
    return label;
}

QWidget *createPicture(const ControlSpec &spec, QWidget *parent)
{
    auto *picture = new QLabel(parent);
    picture->setPixmap(QPixmap(toQString(spec.text)));
    picture->setScaledContents(true); // stretched, aspect ratio not kept
    return picture;
}

QWidget *createWidget(const ControlSpec &spec, QWidget *parent)
{
    switch (spec.kind) {
    case ControlKind::PushButton:
        return createPushButton(spec, parent);
    case ControlKind::TextField:
        return createTextField(spec, parent);
    case ControlKind::Picture:
        return createPicture(spec, parent);
    case ControlKind::Label:
        break;
    }
    return createLabel(spec, parent);
}

} // namespace

QString toQString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

QColor toQColor(ColourWord colour)
{
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

QFont fontFor(const FontSpec &spec)
{
    QFont font;
    font.setFamilies({toQString(spec.family), QStringLiteral("Liberation Sans")});
    font.setPixelSize(qRound(spec.points * ReferenceDpi / PointsPerInch));
    font.setWeight(QFont::Weight(spec.weight));
    return font;
}

QWidget *createControl(const ControlSpec &spec, QWidget *parent, QStyle *style)
{
    QWidget *widget = createWidget(spec, parent);
    widget->setObjectName(toQString(spec.name));
    widget->setStyle(style);
    widget->setGeometry(spec.left / TwipsPerPixel, spec.top / TwipsPerPixel, spec.width / TwipsPerPixel,
                        spec.height / TwipsPerPixel);
    if (!spec.font.family.empty())
        widget->setFont(fontFor(spec.font));
    widget->setPalette(paletteFor(spec));
    // Labels and buttons keep their caption as their accessible name: what
    // they show is what a listener needs to hear.
    if (!spec.accessibleName.empty())
        widget->setAccessibleName(toQString(spec.accessibleName));
    widget->setAccessibleDescription(toQString(spec.accessibleDescription));
    return widget;
}
