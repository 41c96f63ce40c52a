#pragma once

#include "ShellTestSupport.h"
#include "link/LinkTimings.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/Form.h"
#include "tools/devsim/DeviceSimulator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

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
        options.historyDirectory = history.path();
        return options;
    }

    // What the configuration history holds for the sample device, oldest first:
    // "received", "sent-applied", "sent-partly-applied", "sent-not-confirmed".
    QStringList historyKinds() const {
        QStringList kinds;
        const QDir folder(QDir(history.path()).filePath(QStringLiteral("DEMO-485-D485-000731")));
        for (const QString& name : folder.entryList(QDir::Files, QDir::Name))
            kinds.append(name.section(u'-', 1).chopped(3));
        return kinds;
    }

    // Each test keeps the configurations received and sent in a directory of its own.
    QTemporaryDir history;

    // The simulator serving the sample configuration (unless the options name
    // another), on a free loopback port.
    DeviceSimulator& startDevice(DeviceSimulator::Options options = {}) {
        if (options.configuration.isEmpty())
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

    using SheetAct = std::function<bool(TForm& sheet)>;

    // Presses "Připojit" and, while the sample sheet's window is shown modally (the
    // receive handler is suspended in it), calls each act every few milliseconds until
    // it returns true. Each act has its own watcher: a timer's handler does not run
    // again while it is still inside, and a later sheet can appear inside an earlier
    // act (the new login after "Set"). Returns once all are done and the main window
    // is back. `pressConnect` stands in for the click on "Připojit".
    void connectAndActInModalSheet(const std::vector<SheetAct>& acts,
                                   const std::function<void()>& pressConnect = {}) {
        std::vector<std::unique_ptr<QTimer>> watches;
        for (const SheetAct& act : acts) {
            QTimer* watch = watches.emplace_back(std::make_unique<QTimer>()).get();
            watch->setInterval(10);
            QObject::connect(watch, &QTimer::timeout, [this, watch, &act] {
                auto* sheet = qobject_cast<TForm*>(fMain().FindSheetComponent("fDemo"));
                if (sheet && sheet->IsModal() && act(*sheet))
                    watch->stop();
            });
            watch->start();
        }
        if (pressConnect)
            pressConnect();
        else
            click(fMain().bConnect());
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return std::none_of(watches.begin(), watches.end(),
                                    [](const auto& watch) { return watch->isActive(); }) &&
                       fMain().Widget()->isVisible();
            },
            10000));
    }
    void connectAndActInModalSheet(const SheetAct& act,
                                   const std::function<void()>& pressConnect = {}) {
        connectAndActInModalSheet(std::vector<SheetAct>{act}, pressConnect);
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
