#include "display_check.h"
#include "main_window.h"
#include "platform_choice.h"
#include "russian_translation.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    chooseWindowPlatform();
    const auto app = createApplicationOrExit(argc, argv);
    installRussianTranslation(*app);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TSIFROLET_APP_ID));
    MainWindow window;
    window.show();
    return app->exec();
}
