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
    markPhase("exec, libraries, to main");
    QApplication app(argc, argv);
    markPhase("QApplication");
    QWidget window;
    window.setFixedSize(523, 324);
#ifdef ONE_LABEL
    auto *label = new QLabel(QStringLiteral("Сколько будет?"), &window);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(32);
    label->setFont(font);
    label->setGeometry(136, 56, 265, 41);
#endif
    markPhase("widgets");
    QuitAfterFirstPaint quit;
    window.installEventFilter(&quit);
    window.show();
    markPhase("show");
    return app.exec();
}
