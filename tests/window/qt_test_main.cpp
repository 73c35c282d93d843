#include <QApplication>

#include <gtest/gtest.h>

// GoogleTest's main with the QApplication that real widgets need. Without a
// screen the tests run on Qt's offscreen platform.
int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
