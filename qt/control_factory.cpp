#include "control_factory.h"

#include "form_rules.h"
#include "picture_loading.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QString>

namespace {

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
QPalette paletteFor(const ControlSpec &row)
{
    const QColor background = toQColor(row.background.value_or(FormBackground));
    const QColor text = toQColor(row.textColour.value_or(StandardTextColour));
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

QWidget *createPushButton(const ControlSpec &row, QWidget *parent)
{
    auto *button = new QPushButton(toQString(row.text), parent);
    // Qt's buttons answer the space bar by themselves, and Escape only in a
    // dialog; Enter presses a button that is a default one.
    button->setAutoDefault(pressesButton(Key::Enter));
    button->setDefault(false);
    button->setFocusPolicy(clickTakesFocus(row.kind) ? Qt::StrongFocus : Qt::TabFocus);
    return button;
}

QWidget *createTextField(const ControlSpec &row, QWidget *parent)
{
    auto *field = new QLineEdit(toQString(row.text), parent);
    field->setAlignment(toQtAlignment(row.alignment) | Qt::AlignVCenter);
    return field;
}

QWidget *createLabel(const ControlSpec &row, QWidget *parent)
{
    auto *label = new QLabel(toQString(row.text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(toQtAlignment(row.alignment) | Qt::AlignTop);
    label->setAutoFillBackground(true);
    return label;
}

QWidget *createPicture(const ControlSpec &row, QWidget *parent)
{
    auto *picture = new QLabel(parent);
    picture->setPixmap(pictureFor(toQString(row.text), qApp->devicePixelRatio()));
    picture->setScaledContents(true); // stretched, aspect ratio not kept
    return picture;
}

QWidget *createWidget(const ControlSpec &row, QWidget *parent)
{
    switch (row.kind) {
    case ControlKind::PushButton:
        return createPushButton(row, parent);
    case ControlKind::TextField:
        return createTextField(row, parent);
    case ControlKind::Picture:
        return createPicture(row, parent);
    case ControlKind::Label:
        break;
    }
    return createLabel(row, parent);
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

QFont fontFor(const FontSpec &face)
{
    QFont font;
    font.setFamilies({toQString(face.family), QStringLiteral("Liberation Sans")});
    font.setPixelSize(fontPixelSize(face));
    font.setWeight(QFont::Weight(face.weight));
    return font;
}

QWidget *createControl(const ControlSpec &row, QWidget *parent, QStyle *style)
{
    QWidget *widget = createWidget(row, parent);
    widget->setObjectName(toQString(row.name));
    widget->setStyle(style);
    widget->setGeometry(row.left / TwipsPerPixel, row.top / TwipsPerPixel, row.width / TwipsPerPixel,
                        row.height / TwipsPerPixel);
    if (!row.font.family.empty())
        widget->setFont(fontFor(row.font));
    widget->setPalette(paletteFor(row));
    // Labels and buttons keep their caption as their accessible name: what
    // they show is what a listener needs to hear.
    if (!row.accessibleName.empty())
        widget->setAccessibleName(toQString(row.accessibleName));
    widget->setAccessibleDescription(toQString(row.accessibleDescription));
    return widget;
}
