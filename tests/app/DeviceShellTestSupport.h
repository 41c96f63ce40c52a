#pragma once

#include "ShellTestSupport.h"
#include "link/LinkTimings.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/Form.h"
#include "tools/devsim/DeviceSimulator.h"

#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTimer>
#include <functional>

// The sample device configuration as its file holds it.
inline QByteArray sampleConfiguration() {
    QFile file(QStringLiteral(KONFIDOR_SAMPLE_DEVICE));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << KONFIDOR_SAMPLE_DEVICE;
    return file.readAll();
}

// A loopback port nobody listens on.
inline quint16 unusedLoopbackPort() {
    QTcpServer server;
    EXPECT_TRUE(server.listen(QHostAddress::LocalHost));
    return server.serverPort();
}

// The program talking to the in-process device simulator, with shortened intervals
// so that no test waits for real seconds.
class DeviceShellTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        LinkTimings timings;
        timings.keepAliveMs = 60000;
        timings.connectWaitMs = 5000;
        timings.socketConnectTimeoutMs = 5000;
        previousTimings_ = LinkTimings::replace(timings);
    }
    void TearDown() override {
        ShellTest::TearDown();
        LinkTimings::replace(previousTimings_);
    }

    StartOptions loopback(quint16 port) {
        StartOptions options;
        options.address = QStringLiteral("127.0.0.1");
        options.password = QStringLiteral("demo");
        options.port = port;
        return options;
    }

    // The simulator serving the sample configuration, on a free loopback port.
    DeviceSimulator& startDevice(DeviceSimulator::Options options = {}) {
        options.configuration = sampleConfiguration();
        device_ = std::make_unique<DeviceSimulator>(options);
        EXPECT_TRUE(device_->listen()) << device_->errorString().toStdString();
        return *device_;
    }

    // The program pointed at the device and at the sample sheet, main window shown.
    void startWithSampleSheet(const DeviceSimulator& device) {
        StartOptions options = loopback(device.port());
        options.sheetDirectory = QFileInfo(QStringLiteral(KONFIDOR_SAMPLE_DEVICE)).path();
        start(options);
        fMain().Show();
    }

    // Presses "Připojit" and, while the sample sheet's window is shown modally (the
    // receive handler is suspended in it), calls `act` every few milliseconds until
    // it returns true. Returns once the main window is back.
    void connectAndActInModalSheet(const std::function<bool(TForm& sheet)>& act) {
        QTimer watch;
        watch.setInterval(10);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* sheet = qobject_cast<TForm*>(fMain().FindSheetComponent("fDemo"));
            if (sheet && sheet->IsModal() && act(*sheet))
                watch.stop();
        });
        watch.start();
        click(fMain().bConnect());
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return !watch.isActive() && fMain().Widget()->isVisible(); }, 10000));
    }

    // Clicks the sheet component of that name through its window.
    void clickSheetControl(const char* name) {
        auto* control = qobject_cast<TControl*>(fMain().FindSheetComponent(name));
        ASSERT_NE(control, nullptr) << name;
        click(control);
    }

private:
    LinkTimings previousTimings_;
    std::unique_ptr<DeviceSimulator> device_;
};
