#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // GUI tests never need a display: they run on the offscreen platform unless a
    // developer asks for a real one (for example under xvfb-run to take a look).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
