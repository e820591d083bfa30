#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

// One QApplication for every test binary, headless, with the standard
// locations redirected so no test touches the real home.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
