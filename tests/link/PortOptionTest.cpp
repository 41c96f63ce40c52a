#include "link/PortOption.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

namespace {

quint16 portOf(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.addOption(PortOption::option());
    parser.process(QStringList{"konfidor"} + arguments);
    return PortOption::portFrom(parser);
}

} // namespace

TEST(PortOptionTest, NamesThePortOrKeepsTheDevicePort) {
    EXPECT_EQ(portOf({}), 9999);
    EXPECT_EQ(portOf({"--port", "40123"}), 40123);
    EXPECT_THROW(portOf({"--port", "0"}), Error);
    EXPECT_THROW(portOf({"--port", "65536"}), Error);
    EXPECT_THROW(portOf({"--port", "x1"}), Error);
}
