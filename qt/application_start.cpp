#include "application_start.h"

#include <QApplication>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// What Qt says while the application object is being made. Qt's message
// handler is a bare function, so what it holds must outlive any one call:
// one instance, for the moments of start-up only.
class StartUpMessages {
  public:
    static StartUpMessages &held()
    {
        static StartUpMessages messages;
        return messages;
    }

    void hold() { systemHandler_ = qInstallMessageHandler(&StartUpMessages::handle); }

    // Hands what was held to the handler that was there before, and that
    // handler back its place.
    void release()
    {
        qInstallMessageHandler(systemHandler_);
        for (const Message &m : messages_) {
            const QMessageLogContext context(m.file, m.line, m.function, m.category);
            if (systemHandler_)
                systemHandler_(m.type, context, m.text);
            else
                qt_message_output(m.type, context, m.text);
        }
        messages_.clear();
    }

  private:
    // The context's strings are the sources' own literals, so keeping the
    // pointers is safe; the context itself cannot be copied.
    struct Message {
        QtMsgType type;
        const char *file;
        int line;
        const char *function;
        const char *category;
        QString text;
    };

    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        held().messages_.push_back(
            {type, context.file, context.line, context.function, context.category, text});
        if (type == QtFatalMsg)
            held().explainAndExit();
    }

    // Qt gives up when no platform plugin opens a window. Its own words name
    // the cause (a plugin missing or failing, a display that refused), which
    // our plain words cannot know, so they follow ours.
    [[noreturn]] void explainAndExit() const
    {
        std::fputs("Цифролёт: не удалось открыть окно. Программе нужен графический сеанс "
                   "рабочего стола (X11 или Wayland).\n"
                   "Цифролёт: cannot open its window. It needs a graphical desktop session "
                   "(X11 or Wayland); start it from the desktop, or check DISPLAY or WAYLAND_DISPLAY.\n"
                   "Причина по словам Qt (Qt's own words):\n",
                   stderr);
        for (const Message &m : messages_) {
            const QMessageLogContext context(m.file, m.line, m.function, m.category);
            for (const QString &line :
                 qFormatLogMessage(m.type, context, m.text).split(u'\n', Qt::SkipEmptyParts))
                std::fprintf(stderr, "  %s\n", line.toUtf8().constData());
        }
        std::fflush(stderr);
        std::_Exit(1);
    }

    std::vector<Message> messages_;
    QtMessageHandler systemHandler_ = nullptr;
};

} // namespace

std::unique_ptr<QApplication> startApplicationOrExit(int &argc, char **argv)
{
    StartUpMessages::held().hold();
    auto app = std::make_unique<QApplication>(argc, argv);
    StartUpMessages::held().release();
    return app;
}
