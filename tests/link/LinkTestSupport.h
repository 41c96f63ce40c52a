#pragma once

#include "link/LinkTimings.h"
#include "link/SocketFaults.h"
#include "platform/EntryGuard.h"
#include "tools/devsim/DeviceSimulator.h"

#include <QByteArray>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A small device configuration of the tests' own, as a device sends it.
inline const QByteArray TestDeclaration =
    QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"windows-1250\"?>");
inline const QByteArray TestBlock =
    QByteArrayLiteral("<XML>\r\n<DEVICE type=\"TEST-1\" version=\"2.0\"/>\r\n"
                      "<INFO name=\"\xC8\x65rpadlo\"/>\r\n</XML>");

// Shortened intervals, a fresh working directory, the error box recorded, and a
// simulator on an ephemeral loopback port. Restores everything afterwards.
class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(workDir_.isValid());
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(workDir_.path());
        LinkTimings timings;
        // Long enough that keep-alive answers never mix into what a test has the device
        // send; the keep-alive tests shorten it.
        timings.keepAliveMs = 60000;
        timings.connectWaitMs = 5000;
        timings.applyWaitMs = 1000;
        timings.socketConnectTimeoutMs = 5000;
        previousTimings_ = LinkTimings::replace(timings);
        previousReporter_ =
            EntryGuard::setReporter([this](const QString& message) { errorBoxes.append(message); });
    }

    void TearDown() override {
        EntryGuard::setReporter(previousReporter_);
        SocketFaults::setInjector({});
        LinkTimings::replace(previousTimings_);
        QDir::setCurrent(previousDir_);
    }

    DeviceSimulator& startSimulator(DeviceSimulator::Options options = {}) {
        if (options.configuration.isEmpty())
            options.configuration = TestDeclaration + "\r\n" + TestBlock;
        simulator_ = std::make_unique<DeviceSimulator>(options);
        EXPECT_TRUE(simulator_->listen()) << simulator_->errorString().toStdString();
        return *simulator_;
    }

    static void changeTimings(const std::function<void(LinkTimings&)>& change) {
        LinkTimings timings = LinkTimings::current();
        change(timings);
        LinkTimings::replace(timings);
    }

    QStringList errorBoxes;

private:
    QTemporaryDir workDir_;
    QString previousDir_;
    LinkTimings previousTimings_;
    EntryGuard::Reporter previousReporter_;
    std::unique_ptr<DeviceSimulator> simulator_;
};
