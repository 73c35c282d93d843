#include "display_check.h"

#include <QApplication>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The context's strings are the sources' own literals, so keeping the
// pointers is safe; the context itself cannot be copied.
struct HeldMessage {
    QtMsgType type;
    const char *file;
    int line;
    const char *function;
    const char *category;
    QString text;
};

std::vector<HeldMessage> heldMessages;
QtMessageHandler systemHandler = nullptr;

void holdDuringStartUp(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtFatalMsg) {
        heldMessages.push_back({type, context.file, context.line, context.function, context.category, text});
        return;
    }
    std::fputs("Цифролёт: не удалось открыть окно. Программе нужен графический сеанс "
               "рабочего стола (X11 или Wayland).\n"
               "Цифролёт: cannot open its window. It needs a graphical desktop session "
               "(X11 or Wayland); start it from the desktop, or check DISPLAY or WAYLAND_DISPLAY.\n",
               stderr);
    std::_Exit(1);
}

} // namespace

std::unique_ptr<QApplication> createApplicationOrExit(int &argc, char **argv)
{
    systemHandler = qInstallMessageHandler(holdDuringStartUp);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(systemHandler);
    for (const HeldMessage &m : heldMessages) {
        const QMessageLogContext context(m.file, m.line, m.function, m.category);
        if (systemHandler)
            systemHandler(m.type, context, m.text);
        else
            qt_message_output(m.type, context, m.text);
    }
    heldMessages.clear();
    return app;
}
