// The floor for start-up: an empty Qt window of the program's size, ending
// after its first frame. No Qt program with a window starts faster or smaller.
//
// Built a second time with ONE_LABEL, it shows a single line of text as well:
// what any window pays the first time it draws text (the font database,
// FreeType, HarfBuzz), before it draws anything of its own.
#include "first_paint.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(523, 324);
#ifdef ONE_LABEL
    auto *label = new QLabel(QStringLiteral("Сколько будет?"), &window);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(32);
    label->setFont(font);
    label->setGeometry(136, 56, 265, 41);
#endif
    QuitAfterFirstPaint quit;
    window.installEventFilter(&quit);
    window.show();
    return app.exec();
}
