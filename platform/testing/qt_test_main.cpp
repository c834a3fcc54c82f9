// main() for window tests: one offscreen QApplication around all test cases.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // Window tests never need a display, also when the build lists their cases.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
