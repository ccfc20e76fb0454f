// Test entry point: a QApplication on Qt's offscreen platform (unless the
// environment names another) and the start-up of the libraries under test.
#include <QApplication>
#include <gtest/gtest.h>

#include "TestStartup.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    VkTestStartup();
    return RUN_ALL_TESTS();
}
