#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // The user's data directory of every test is a fresh one, so that what the
    // program keeps there (the configuration history, the user's sheets) neither
    // reaches the real one nor comes from it.
    QTemporaryDir userData;
    qputenv("XDG_DATA_HOME", userData.path().toUtf8());
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
