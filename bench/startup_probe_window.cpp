// The program's own start-up, step by step as in qt/main.cpp, ending after
// the first frame, with each phase marked.
#include "application_start.h"
#include "first_paint.h"
#include "fixed_frame.h"
#include "main_window.h"
#include "russian_translation.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    markPhase("exec, libraries, to main");
    chooseWindowPlatform();
    const auto app = startApplicationOrExit(argc, argv);
    markPhase("QApplication");
    installRussianTranslation(*app);
    markPhase("translation");
    QGuiApplication::setDesktopFileName(QStringLiteral("tsifrolet"));
    MainWindow window;
    markPhase("widgets");
    QuitAfterFirstPaint quit;
    window.installEventFilter(&quit);
    window.show();
    markPhase("show");
    return app->exec();
}
