#include "application_start.h"
#include "fixed_frame.h"
#include "main_window.h"
#include "russian_translation.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    chooseWindowPlatform();
    const auto app = startApplicationOrExit(argc, argv);
    installRussianTranslation(*app);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TSIFROLET_APP_ID));
    MainWindow window;
    window.show();
    return app->exec();
}
