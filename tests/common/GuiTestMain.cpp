#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

// Widgets need a QApplication before any test runs; settings go to a test location.
int main(int argc, char **argv)
{
    // Off screen unless told otherwise, also when tests are only being listed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
