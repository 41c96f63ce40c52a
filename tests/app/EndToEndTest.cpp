// The operator's whole path against the in-process device simulator, driven only
// through the windows: connect, edit the sample sheet, save, answer the question,
// and the new login after the device resets.

#include "DeviceShellTestSupport.h"
#include "app/TfWaitDialog.h"
#include "platform/Win1250.h"
#include "platform/widgets/Edit.h"
#include "tools/devsim/SessionReplay.h"

#include <QApplication>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <ostream>

namespace {

struct ApplyCase {
    const char* name;
    DeviceSimulator::ApplyAnswer answer;
    QString questionStart;
    int resetDelayMs;
    // The operator reads the question until the device has reset and the sheet's
    // onDisconnect has destroyed the window; otherwise the answer comes at once.
    bool answerAfterReset;
    DeviceSimulator::Fault fault = DeviceSimulator::Fault::None;
};

// Names the case in the test's output.
void PrintTo(const ApplyCase& applyCase, std::ostream* out) {
    *out << applyCase.name;
}

class EndToEndTest : public DeviceShellTest {
protected:
    void SetUp() override {
        DeviceShellTest::SetUp();
        LinkTimings timings = LinkTimings::current();
        // Long enough that a loaded machine still answers within one period.
        timings.keepAliveMs = 400;
        timings.applyWaitMs = 3000;
        LinkTimings::replace(timings);
    }

    // Clicks the page control's tab of that index, turning to its page.
    void clickTab(QWidget* window, int index) {
        auto* pages = qobject_cast<QTabWidget*>(
            qobject_cast<TControl*>(fMain().FindSheetComponent("pcDemo"))->Widget());
        ASSERT_NE(pages, nullptr);
        const QTabBar* bar = pages->tabBar();
        const QPoint inWindow = bar->mapTo(window, bar->tabRect(index).center());
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, inWindow);
        EXPECT_EQ(pages->currentIndex(), index);
    }

    static void typeInto(QWidget* window, const QString& text) {
        for (const QChar c : text)
            QTest::keyClick(window->windowHandle(), c.toLatin1());
    }

    // The first sheet: waits out several keep-alive periods, then changes the IP
    // address (edit), the data port (spin edit) and the COM1 parity (combo box) and
    // clicks "Uložit". Records what the device should receive.
    bool editAndSave(TForm& sheet) {
        if (keepAlivesAtSheet_ < 0) {
            keepAlivesAtSheet_ = keepAlives();
            waitDialogGoneForSheet_ = !program().fWaitDialog().Widget()->isVisible();
            return false;
        }
        if (keepAlives() < keepAlivesAtSheet_ + 3)
            return false;
        firstSheet_ = &sheet;
        linkSurvivedKeepAlives_ = fMain().link().link() != nullptr;
        QString expected = fMain().xmlDevice().documentElement().xml();
        expected.replace(QStringLiteral(" ip=\"127.0.0.1\""), QStringLiteral(" ip=\"127.0.0.9\""));
        expected.replace(QStringLiteral("port=\"9999\""), QStringLiteral("port=\"10000\""));
        expected.replace(QStringLiteral("parity=\"E\""), QStringLiteral("parity=\"O\""));
        expectedApply_ = Win1250::fromWide(expected) + "\r";

        QWidget* window = sheet.Widget();
        clickSheetControl("eIP");
        QTest::keyClick(window->windowHandle(), Qt::Key_A, Qt::ControlModifier);
        typeInto(window, QStringLiteral("127.0.0.9"));
        clickSheetControl("sePort");
        QTest::keyClick(window->windowHandle(), Qt::Key_Up);
        clickTab(window, 1);
        // The combo box opens its list; the next entry is chosen from the keyboard.
        clickSheetControl("cParity1");
        QWidget* list = QApplication::activePopupWidget();
        EXPECT_NE(list, nullptr) << "the combo box list did not open";
        if (list) {
            QTest::keyClick(list->windowHandle(), Qt::Key_Down);
            QTest::keyClick(list->windowHandle(), Qt::Key_Return);
        }
        saveClicked_ = true;
        clickSheetControl("bSave");
        return true;
    }

    // The sheet shown after the new login: closing it ends the connection.
    bool closeSecondSheet(TForm& sheet) {
        if (!saveClicked_ || (!firstSheet_.isNull() && &sheet == firstSheet_.data()))
            return false;
        secondSheetIP_ = qobject_cast<TEdit*>(fMain().FindSheetComponent("eIP"))->Text();
        // As after the first login: the main window hidden, Link the live connection.
        mainWindowHiddenAtSecondSheet_ = !fMain().Widget()->isVisible();
        secondLinkConnected_ = fMain().link().connected();
        clickSheetControl("bClose");
        return true;
    }

    // Keep-alives the device has received so far.
    qsizetype keepAlives() const {
        return countKeepAlives_ ? countKeepAlives_() : device().received().count("?\r");
    }
    const DeviceSimulator& device() const { return *simulator_; }

    // What the client sent to be applied; "<XML/>" is its request for the configuration.
    QList<QByteArray> applyMessages() const {
        QList<QByteArray> messages;
        for (const QByteArray& message : device().received())
            if (message.startsWith("<XML") && !message.startsWith("<XML/>"))
                messages.append(message);
        return messages;
    }

    DeviceSimulator* simulator_ = nullptr;
    // Counts them when no simulator is the device.
    std::function<qsizetype()> countKeepAlives_;
    qsizetype keepAlivesAtSheet_ = -1;
    bool waitDialogGoneForSheet_ = false;
    bool linkSurvivedKeepAlives_ = false;
    QPointer<TForm> firstSheet_;
    bool saveClicked_ = false;
    QByteArray expectedApply_;
    QByteArray secondSheetIP_;
    bool mainWindowHiddenAtSecondSheet_ = false;
    bool secondLinkConnected_ = false;
};

class ConfirmedApplyTest : public EndToEndTest, public ::testing::WithParamInterface<ApplyCase> {};

} // namespace

TEST_P(ConfirmedApplyTest, SavedSettingsReachTheDeviceAndTheClientLogsInAgain) {
    const ApplyCase& c = GetParam();
    DeviceSimulator::Options options;
    options.applyAnswer = c.answer;
    options.resetDelayMs = c.resetDelayMs;
    options.fault = c.fault;
    simulator_ = &startDevice(options);
    startWithSampleSheet(*simulator_);
    dialogs.queueAnswer(DialogAnswer::Yes);
    bool sheetGoneWhileAsking = false;
    dialogs.setObserver([&](const RecordingDialogs::Record& record) {
        if (record.kind != DialogKind::Question || !c.answerAfterReset)
            return;
        // The window itself is freed once its modal loop has unwound.
        const auto sheetDestroyed = [this] {
            return !fMain().FindSheetComponent("fDemo");
        };
        EXPECT_TRUE(QTest::qWaitFor(sheetDestroyed, 5000));
        sheetGoneWhileAsking = sheetDestroyed();
    });

    connectAndActInModalSheet({[this](TForm& sheet) { return editAndSave(sheet); },
                               [this](TForm& sheet) {
                                   return closeSecondSheet(sheet);
                               }});

    EXPECT_GE(keepAlivesAtSheet_, 0) << "the sheet was never shown modally";
    EXPECT_TRUE(waitDialogGoneForSheet_);
    EXPECT_TRUE(linkSurvivedKeepAlives_);
    const QList<QByteArray> applied = applyMessages();
    ASSERT_EQ(applied.size(), 1);
    EXPECT_EQ(applied[0], expectedApply_);
    ASSERT_GE(dialogs.records().size(), 1u);
    EXPECT_EQ(dialogs.records()[0].kind, DialogKind::Question);
    EXPECT_EQ(dialogs.records()[0].caption, QStringLiteral("Znovu přihlásit"));
    EXPECT_TRUE(dialogs.records()[0].text.startsWith(c.questionStart))
        << dialogs.records()[0].text.toStdString();
    EXPECT_EQ(dialogs.records().size(), 1u) << dialogs.records().back().text.toStdString();
    EXPECT_EQ(sheetGoneWhileAsking, c.answerAfterReset);

    // Logged in again, the device serving what was saved.
    EXPECT_EQ(simulator_->connectionCount(), 2);
    EXPECT_EQ(secondSheetIP_, "127.0.0.9");
    EXPECT_TRUE(mainWindowHiddenAtSecondSheet_);
    EXPECT_TRUE(secondLinkConnected_);
    EXPECT_FALSE(fMain().ReconnectRequested());
    EXPECT_FALSE(fMain().ApplyInProgress);
    EXPECT_EQ(fMain().FindSheetComponent("fDemo"), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return simulator_->openConnections() == 0; }, 5000));
    const QString kept = c.answer == DeviceSimulator::ApplyAnswer::Reconfigured ? "sent-applied"
                                                                              : "sent-partly-applied";
    EXPECT_EQ(historyKinds(), (QStringList{"received", kept, "received"}));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ConfirmedApplyTest,
    ::testing::Values(
        ApplyCase{"ConfirmedResetAfterAnswer", DeviceSimulator::ApplyAnswer::Reconfigured,
                  QStringLiteral("Konfigurace byla úspěšně provedena"), 1500, false},
        ApplyCase{"ConfirmedResetWhileAsking", DeviceSimulator::ApplyAnswer::Reconfigured,
                  QStringLiteral("Konfigurace byla úspěšně provedena"), 0, true},
        ApplyCase{"PartialResetAfterAnswer", DeviceSimulator::ApplyAnswer::PartiallyApplied,
                  QStringLiteral("Konfigurace byla provedena pouze částečně"), 1500, false},
        ApplyCase{"PartialResetWhileAsking", DeviceSimulator::ApplyAnswer::PartiallyApplied,
                  QStringLiteral("Konfigurace byla provedena pouze částečně"), 0, true},
        // A device that confirms twice is asked once.
        ApplyCase{"ConfirmedTwice", DeviceSimulator::ApplyAnswer::Reconfigured,
                  QStringLiteral("Konfigurace byla úspěšně provedena"), 300, false,
                  DeviceSimulator::Fault::DoubleAnswer}),
    [](const ::testing::TestParamInfo<ApplyCase>& info) { return std::string(info.param.name); });

// The device never confirms: the operator is told, nobody logs in again, and the
// device's later reset closes the sheet through its onDisconnect.
TEST_F(EndToEndTest, UnconfirmedSettingsAreReportedAndNoNewLoginFollows) {
    LinkTimings timings = LinkTimings::current();
    timings.applyWaitMs = 200;
    LinkTimings::replace(timings);
    DeviceSimulator::Options options;
    options.applyAnswer = DeviceSimulator::ApplyAnswer::Nothing;
    options.resetDelayMs = 800;
    simulator_ = &startDevice(options);
    startWithSampleSheet(*simulator_);

    connectAndActInModalSheet([this](TForm& sheet) { return editAndSave(sheet); });

    const QList<QByteArray> applied = applyMessages();
    ASSERT_EQ(applied.size(), 1);
    EXPECT_EQ(applied[0], expectedApply_);
    ASSERT_EQ(dialogs.records().size(), 1u);
    EXPECT_EQ(dialogs.records()[0].kind, DialogKind::Notice);
    EXPECT_EQ(dialogs.records()[0].text,
              QStringLiteral("Zařízení nepotvrdilo správné nastavení. Zkuste akci opakovat, "
                             "nebo se znovu připojit!"));
    EXPECT_EQ(simulator_->connectionCount(), 1);
    EXPECT_FALSE(fMain().ApplyInProgress);
    EXPECT_EQ(fMain().FindSheetComponent("fDemo"), nullptr);
    EXPECT_EQ(historyKinds(), (QStringList{"received", "sent-not-confirmed"}));
}

// The device confirms, then neither resets nor answers: the keep-alive ends the
// link, the operator is told, and the saved values stay in the document.
TEST_F(EndToEndTest, ConfirmationFollowedBySilenceEndsTheLinkKeepingTheValues) {
    DeviceSimulator::Options options;
    options.fault = DeviceSimulator::Fault::AnswerThenSilence;
    simulator_ = &startDevice(options);
    startWithSampleSheet(*simulator_);
    dialogs.setDefaultAnswer(DialogAnswer::Yes);

    connectAndActInModalSheet({[this](TForm& sheet) { return editAndSave(sheet); },
                               [this](TForm& sheet) { return closeSecondSheet(sheet); }});

    ASSERT_EQ(applyMessages().size(), 1);
    EXPECT_TRUE(std::any_of(dialogs.records().begin(), dialogs.records().end(), [](const auto& r) {
        return r.text.startsWith(QStringLiteral("Chyba komunikace! Zařízení přestalo komunikovat"));
    }));
    // Logged in again, the device serving what was saved.
    EXPECT_EQ(secondSheetIP_, "127.0.0.9");
    EXPECT_FALSE(fMain().link().connected());
}

// Keep-alive answers that come just after the deadline count as silence.
TEST_F(EndToEndTest, LateKeepAliveAnswersEndTheLinkAndConnectingAgainWorks) {
    DeviceSimulator::Options options;
    options.fault = DeviceSimulator::Fault::LateKeepAlive;
    options.lateAnswerMs = 2 * LinkTimings::current().keepAliveMs + 50;
    simulator_ = &startDevice(options);
    startWithSampleSheet(*simulator_);

    click(fMain().bConnect());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return fMain().Widget()->isVisible() &&
                   std::any_of(dialogs.records().begin(), dialogs.records().end(),
                               [](const auto& r) {
                                   return r.text.startsWith(QStringLiteral(
                                       "Chyba komunikace! Zařízení přestalo komunikovat"));
                               });
        },
        10000));

    simulator_->setFault(DeviceSimulator::Fault::None);
    connectAndActInModalSheet([this](TForm&) {
        clickSheetControl("bClose");
        return true;
    });
    EXPECT_FALSE(fMain().link().connected());
}

// A session recorded at the device (keep-alives, the apply, its answer, the reset and
// the new login) replays without waiting to the same event log and the same dialogs,
// although the replay's client logs in with another password.
TEST_F(EndToEndTest, ARecordedSessionReplaysToTheSameLogAndDialogs) {
    QTemporaryDir directory;
    const QString file = directory.filePath(QStringLiteral("session.jsonl"));
    const auto operatorPath = [&](quint16 port, const QString& recordFile,
                                  const QString& password) {
        keepAlivesAtSheet_ = -1;
        firstSheet_ = nullptr;
        saveClicked_ = false;
        StartOptions options = loopback(port);
        options.password = password;
        options.recordFile = recordFile;
        options.sheetDirectory = QFileInfo(QStringLiteral(KONFIDOR_SAMPLE_DEVICE)).path();
        start(options);
        fMain().Show();
        dialogs.clearRecords();
        dialogs.queueAnswer(DialogAnswer::Yes);
        connectAndActInModalSheet({[this](TForm& sheet) { return editAndSave(sheet); },
                                   [this](TForm& sheet) { return closeSecondSheet(sheet); }});
        QStringList seen;
        for (qsizetype i = 0; i < program().log().eventCount(); ++i)
            seen << QString::fromLatin1(program().log().eventEntry(i)).section(" - ", 1);
        for (const RecordingDialogs::Record& record : dialogs.records())
            seen << record.caption + u' ' + record.text;
        return seen;
    };
    DeviceSimulator::Options options;
    options.resetDelayMs = 100;
    simulator_ = &startDevice(options);
    const QStringList recorded = operatorPath(simulator_->port(), file, QStringLiteral("demo"));
    ASSERT_EQ(simulator_->connectionCount(), 2);

    QStringList departures;
    SessionReplay replay(RecordedSession::read(file), {QHostAddress::LocalHost, 0, 0},
                         [&](const QString& text) { departures << text; });
    ASSERT_TRUE(replay.listen());
    qsizetype replayedKeepAlives = 0;
    QObject::connect(&replay, &SessionReplay::messageReceived, [&](const QByteArray& message) {
        replayedKeepAlives += message == "?\r" ? 1 : 0;
    });
    countKeepAlives_ = [&] { return replayedKeepAlives; };
    const QStringList replayed = operatorPath(replay.port(), {}, QStringLiteral("jine"));
    EXPECT_EQ(replayed, recorded);
    EXPECT_EQ(secondSheetIP_, "127.0.0.9");
    // Only the number of keep-alives may differ from the recorded session.
    for (const QString& departure : departures)
        EXPECT_TRUE(departure.contains(QStringLiteral("keep-alive"))) << departure.toStdString();
}
