#include "form_rules.h"
#include "picture_loading.h"
#include "window_driver.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QMenu>
#include <QStyle>
#include <QStyleFactory>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QColor Green(0, 192, 0);
const QColor DarkGreen(0, 64, 0);
const QColor Black(0, 0, 0);

struct Expected {
    const char *name;
    const char *className;
    QString text;
    QRect geometry; // device-independent pixels
    int pixelSize;  // the point size at 96 dpi
    bool bold;
    QColor textColour;
    Qt::Alignment alignment;
};

// The window as the learner first sees it, written out in pixels.
const Expected Controls[] = {
    {"Command4", "QPushButton", "Выход", {224, 272, 89, 25}, 16, true, Black, Qt::AlignHCenter},
    {"Command3", "QPushButton", "Да", {240, 160, 49, 25}, 16, true, Black, Qt::AlignHCenter},
    {"Command2", "QPushButton", "Пример", {224, 216, 89, 25}, 16, true, Black, Qt::AlignHCenter},
    {"Text1", "QLineEdit", "", {336, 112, 49, 33}, 24, true, DarkGreen, Qt::AlignHCenter},
    {"Label10", "QLabel", "0", {464, 40, 41, 25}, 13, true, Black, Qt::AlignHCenter},
    {"Label9", "QLabel", "", {464, 8, 41, 25}, 13, true, Black, Qt::AlignHCenter},
    {"Label8", "QLabel", "Ошибок:", {384, 40, 81, 25}, 13, true, Black, Qt::AlignRight},
    {"Label7", "QLabel", "Пример:", {384, 8, 81, 25}, 13, true, Black, Qt::AlignRight},
    {"Label6", "QLabel", "Сколько будет?", {136, 56, 265, 41}, 32, false, DarkGreen, Qt::AlignHCenter},
    {"Label5", "QLabel", "", {200, 192, 129, 25}, 16, false, Black, Qt::AlignHCenter},
    {"Label4", "QLabel", "=", {296, 112, 33, 25}, 24, true, DarkGreen, Qt::AlignHCenter},
    {"Label3", "QLabel", "\u0445", {216, 112, 33, 25}, 24, true, DarkGreen, Qt::AlignHCenter},
    {"Label2", "QLabel", "?", {256, 112, 41, 33}, 24, true, DarkGreen, Qt::AlignHCenter},
    {"Label1", "QLabel", "?", {168, 112, 41, 33}, 24, true, DarkGreen, Qt::AlignHCenter},
};

// Arial and "MS Sans Serif" where installed, Liberation Sans in their stead.
QString promisedFamily(const char *name)
{
    const QString wanted = QString(name) == "Label5" ? "MS Sans Serif" : "Arial";
    return QFontDatabase::hasFamily(wanted) ? wanted : "Liberation Sans";
}

QString textOf(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    if (auto *button = qobject_cast<QPushButton *>(widget))
        return button->text();
    return qobject_cast<QLineEdit *>(widget)->text();
}

Qt::Alignment horizontalAlignmentOf(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->alignment() & Qt::AlignHorizontal_Mask;
    if (auto *field = qobject_cast<QLineEdit *>(widget))
        return field->alignment() & Qt::AlignHorizontal_Mask;
    return Qt::AlignHCenter; // a push button always centres its text
}

QColor textColourOf(QWidget *widget)
{
    if (qobject_cast<QPushButton *>(widget))
        return widget->palette().color(QPalette::ButtonText);
    if (qobject_cast<QLineEdit *>(widget))
        return widget->palette().color(QPalette::Text);
    return widget->palette().color(QPalette::WindowText);
}

TEST(WindowLayout, EveryControlStartsAsLaidOut)
{
    WindowDriver driver;
    for (const Expected &e : Controls) {
        SCOPED_TRACE(e.name);
        QWidget *widget = driver.widget(e.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_STREQ(widget->metaObject()->className(), e.className);
        EXPECT_EQ(textOf(widget), e.text);
        EXPECT_EQ(widget->geometry(), e.geometry);
        // Set in pixels: a size in points would grow with the font DPI.
        EXPECT_EQ(widget->font().pixelSize(), e.pixelSize);
        const QFontInfo font(widget->font());
        EXPECT_EQ(font.family(), promisedFamily(e.name));
        EXPECT_EQ(font.pixelSize(), e.pixelSize);
        EXPECT_EQ(font.bold(), e.bold);
        EXPECT_EQ(textColourOf(widget), e.textColour);
        EXPECT_EQ(horizontalAlignmentOf(widget), e.alignment);
        // Every label paints its whole rectangle green.
        if (qobject_cast<QLabel *>(widget)) {
            EXPECT_EQ(driver.pixel(e.name, {1, widget->height() - 2}), Green);
        }
    }
}

TEST(WindowLayout, TheWindowIsAFixedGreenFormWithItsCaptionAndIcon)
{
    WindowDriver driver;
    EXPECT_EQ(driver.window.objectName(), "Form1");
    EXPECT_EQ(driver.window.windowTitle(), "Цифролёт");
    EXPECT_EQ(driver.window.size(), QSize(523, 324));
    EXPECT_EQ(driver.window.minimumSize(), driver.window.maximumSize());
    EXPECT_EQ(driver.windowPixel({520, 5}), Green);
    EXPECT_EQ(driver.windowPixel({5, 320}), Green);
    EXPECT_FALSE(driver.window.windowIcon().isNull());
    EXPECT_EQ(driver.window.windowIcon().pixmap(48).size(), QSize(48, 48));
    EXPECT_EQ(driver.window.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).size(), 17);
    // The credit line's font: the window's own, 8 points at 96 dpi.
    EXPECT_EQ(driver.window.font().pixelSize(), 11);
    EXPECT_EQ(QFontInfo(driver.window.font()).family(), promisedFamily("Label5"));
    EXPECT_FALSE(driver.window.font().bold());
}

TEST(WindowLayout, TheFrameOffersMinimiseAndCloseOnlyAndTheSizeHolds)
{
    WindowDriver driver;
    const Qt::WindowFlags flags = driver.window.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowFullscreenButtonHint);
    // Whatever the desktop asks for, the form stays as laid out.
    for (const Qt::WindowState state : {Qt::WindowMaximized, Qt::WindowFullScreen}) {
        driver.window.setWindowState(state);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !(driver.window.windowState() & state); })) << state;
        EXPECT_EQ(driver.window.size(), QSize(523, 324)) << state;
    }
}

TEST(WindowLayout, TheFocusedButtonWearsADarkFrameAndTheOthersLookAsInFusion)
{
    WindowDriver driver;
    auto *button = driver.widget<QPushButton>("Command2");
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion")); // outlives the button
    QPushButton plain(button->text());
    plain.setStyle(fusion.get());
    plain.setPalette(button->palette());
    plain.setFont(button->font());
    plain.resize(button->size());
    const QImage unfocused = plain.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(button->grab().toImage().convertToFormat(QImage::Format_RGB32), unfocused);

    button->setFocus();
    const QImage focused = button->grab().toImage();
    // Across the middle row and down the middle column from each edge: the
    // button's own edge, then the mark, then the face.
    const auto [width, inset, colour] = ButtonFocusMark;
    const QColor mark(redOf(colour), greenOf(colour), blueOf(colour));
    const int w = button->width() - 1;
    const int h = button->height() - 1;
    for (int from = 0; from < inset + width + 1; ++from) {
        const bool marked = from >= inset && from < inset + width;
        for (const QPoint at :
             {QPoint(from, h / 2), QPoint(w - from, h / 2), QPoint(w / 2, from), QPoint(w / 2, h - from)})
            EXPECT_EQ(focused.pixelColor(at) == mark, marked) << at.x() << "," << at.y();
    }
    EXPECT_EQ(focused.pixelColor(8, 12), unfocused.pixelColor(8, 12)); // the face stays green
}

TEST(WindowLayout, QtsOwnTextsAreRussian)
{
    WindowDriver driver;
    const std::unique_ptr<QMenu> menu(driver.answerField()->createStandardContextMenu());
    QStringList texts;
    for (const QAction *action : menu->actions())
        if (!action->isSeparator())
            texts << action->text().remove('&').section('\t', 0, 0);
    EXPECT_EQ(texts, QStringList({"Отменить действие", "Повторить действие", "Вырезать", "Копировать",
                                  "Вставить", "Удалить", "Выделить всё"}));
}

TEST(WindowLayout, PicturesFillTheirRectanglesStretched)
{
    struct Picture {
        const char *name;
        QRect geometry;
        QSize imageSize;
    };
    const Picture pictures[] = {
        {"Image3", {8, 8, 137, 113}, {236, 211}},
        {"Image2", {416, 104, 97, 153}, {142, 214}},
        {"Image1", {16, 168, 89, 145}, {142, 200}},
    };
    WindowDriver driver;
    for (const Picture &p : pictures) {
        SCOPED_TRACE(p.name);
        auto *picture = driver.widget<QLabel>(p.name);
        EXPECT_EQ(picture->geometry(), p.geometry);
        // Measured in the window's pixels, which the double-size variant shares.
        EXPECT_EQ(picture->pixmap().deviceIndependentSize().toSize(), p.imageSize);
        EXPECT_TRUE(picture->hasScaledContents());
        // The picture reaches every corner of its rectangle: nothing of the
        // window's green shows through there.
        const QImage shown = picture->grab().toImage();
        for (const QPoint corner : {QPoint(0, 0), QPoint(shown.width() - 1, 0), QPoint(0, shown.height() - 1),
                                    QPoint(shown.width() - 1, shown.height() - 1)})
            EXPECT_NE(shown.pixelColor(corner), Green) << corner.x() << "," << corner.y();
    }
    // The kitten is drawn whole, over the heading where the two overlap.
    EXPECT_NE(driver.windowPixel({140, 80}), Green);
}

TEST(WindowLayout, HighDensityScreensGetTheDoubleSizePictures)
{
    for (const char *path : {":/kitten_duckling.jpg", ":/cat_yarn.jpg", ":/cat_blocks.jpg"}) {
        SCOPED_TRACE(path);
        const QPixmap normal = pictureFor(path, 1);
        const QPixmap sharp = pictureFor(path, 2);
        EXPECT_EQ(normal.devicePixelRatio(), 1);
        EXPECT_EQ(sharp.devicePixelRatio(), 2);
        EXPECT_EQ(sharp.size(), normal.size() * 2);
        EXPECT_EQ(pictureFor(path, 1.25).size(), normal.size());
    }
}

TEST(WindowLayout, PicturesAndIconDecodeToThePixelsOfQtsOwnReaders)
{
    for (const char *path : {":/kitten_duckling.jpg", ":/cat_yarn@2x.jpg", ":/icon.png"}) {
        SCOPED_TRACE(path);
        const QImage decoded = pictureFor(path, 1).toImage();
        EXPECT_EQ(decoded, QImage(path).convertToFormat(decoded.format()));
    }
}

TEST(WindowLayout, FocusStartsInTheAnswerAndFollowsTheTableOrder)
{
    WindowDriver driver;
    driver.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&driver.window));
    EXPECT_EQ(QApplication::focusWidget(), driver.answerField());

    const char *order[] = {"Text1", "Command2", "Command3", "Command4", "Text1"};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), driver.widget(order[i])) << "after " << order[i - 1];
    }
    for (QLabel *label : driver.window.findChildren<QLabel *>())
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus) << label->objectName().toStdString();
}

TEST(WindowLayout, NoButtonAnswersEnterOrEscape)
{
    WindowDriver driver;
    for (QPushButton *button : driver.window.findChildren<QPushButton *>()) {
        EXPECT_FALSE(button->isDefault());
        EXPECT_FALSE(button->autoDefault());
    }
    driver.next();
    driver.type("7");
    QTest::keyClick(driver.answerField(), Qt::Key_Return);
    QTest::keyClick(driver.answerField(), Qt::Key_Escape);
    driver.widget("Command3")->setFocus();
    QTest::keyClick(driver.widget("Command3"), Qt::Key_Return);
    EXPECT_EQ(driver.label("Label5"), "");
    EXPECT_EQ(driver.label("Label9"), "1");
    EXPECT_TRUE(driver.window.isVisible());
}

TEST(WindowLayout, ButtonsStayGreenUnderAnyApplicationStyle)
{
    const QString original = QApplication::style()->name();
    for (const QString &styleName : QStyleFactory::keys()) {
        SCOPED_TRACE(styleName.toStdString());
        QApplication::setStyle(styleName);
        WindowDriver driver;
        for (const char *name : {"Command2", "Command3", "Command4"}) {
            const QColor face = driver.pixel(name, {8, 12});
            EXPECT_GT(face.green(), face.red() + 80) << name;
            EXPECT_GT(face.green(), face.blue() + 80) << name;
        }
    }
    QApplication::setStyle(original);
}

TEST(WindowLayout, TextStaysInsideItsRectangleWhateverTheFontDpi)
{
    // Pixel sizes, not point sizes: the logical DPI must not change them.
    WindowDriver driver;
    // Where a font DPI is set it must really be in force, or this proves nothing.
    if (qEnvironmentVariableIsSet("QT_FONT_DPI")) {
        ASSERT_EQ(driver.window.logicalDpiY(), qEnvironmentVariableIntValue("QT_FONT_DPI"));
    }
    for (const Expected &e : Controls) {
        const QWidget *widget = driver.widget(e.name);
        const QFontMetrics metrics(widget->font());
        EXPECT_LE(metrics.horizontalAdvance(textOf(const_cast<QWidget *>(widget))), widget->width())
            << e.name;
    }
    const QFontMetrics credit(driver.window.font());
    EXPECT_LE(credit.horizontalAdvance(MainWindow::creditText()), 523 - 384) << "credit line";
    EXPECT_LE(credit.height(), 324 - 304) << "credit line";
}

} // namespace
