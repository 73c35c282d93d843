#include "russian_translation.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A test that meets a message box it did not expect would wait in it for
// ever. A box still open a whole tick after it was first seen fails the
// running test and is closed, so the test goes on and ends.
void closeStrayMessageBoxes(QApplication &app)
{
    auto *watch = new QTimer(&app);
    auto seen = std::make_shared<QWidget *>(nullptr);
    QObject::connect(watch, &QTimer::timeout, [seen] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal == *seen) {
            ADD_FAILURE() << "a message box stayed open: " << modal->windowTitle().toStdString();
            modal->close();
            modal = nullptr;
        }
        *seen = modal;
    });
    watch->start(2000);
}

} // namespace

// GoogleTest's main with the QApplication that real widgets need, in Russian
// as the program is. Without a screen the tests run on Qt's offscreen platform.
int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installRussianTranslation(app);
    closeStrayMessageBoxes(app);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
