#include "link/ConfigurationHistory.h"

#include "link/SessionRecording.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray Named = R"(<XML><DEVICE type="DEMO-485" serial="D485-7"/></XML>)";

class ConfigurationHistoryTest : public ::testing::Test {
protected:
    QStringList files(const QString& folder) const {
        return QDir(QDir(root.path()).filePath(folder)).entryList(QDir::Files, QDir::Name);
    }

    QTemporaryDir root;
    QList<QByteArray> reports;
    qint64 now = 1796860800000; // 2026-12-10 00:00:00 UTC
    ConfigurationHistory history{root.path(),
                                 [this](const QByteArray& text) { reports.append(text); },
                                 [this] {
                                     return now++;
                                 }};
};

} // namespace

// A device is known by its type and serial number, else by its address; nothing a
// device sends can name a path outside the history.
TEST_F(ConfigurationHistoryTest, EachDeviceHasAFolderAndEachFileItsTimeAndKind) {
    history.keepReceived(Named, "10.0.0.5");
    history.keepSent("<XML/>", "10.0.0.5", ConfigurationHistory::Answer::PartlyApplied);
    EXPECT_EQ(files("DEMO-485-D485-7"),
              (QStringList{"20261210T000000.000Z-received.xm",
                           "20261210T000000.001Z-sent-partly-applied.xm"}));
    QFile kept(QDir(root.path()).filePath("DEMO-485-D485-7/20261210T000000.000Z-received.xm"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), Named);

    history.keepReceived("<XML><DEVICE type=\"A\"/></XML>", "10.0.0.6");
    history.keepReceived(R"(<XML><DEVICE type="../.." serial="/etc"/></XML>)", "10.0.0.7");
    history.keepReceived("not xml", "host/../x");
    EXPECT_EQ(files("10.0.0.6").size(), 1);
    EXPECT_EQ(files("_.._..-_etc").size(), 1);
    EXPECT_EQ(files("host_.._x").size(), 1);
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(ConfigurationHistoryTest, ADeviceKeepsItsNewestFiles) {
    for (int i = 0; i < ConfigurationHistory::FilesPerDevice + 3; ++i)
        history.keepReceived(Named, "10.0.0.5");
    const QStringList kept = files("DEMO-485-D485-7");
    ASSERT_EQ(kept.size(), ConfigurationHistory::FilesPerDevice);
    EXPECT_EQ(kept.first(), "20261210T000000.003Z-received.xm");
}

TEST_F(ConfigurationHistoryTest, AHistoryThatCannotBeWrittenIsReportedOnce) {
    QFile blocker(QDir(root.path()).filePath("DEMO-485-D485-7"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    history.keepReceived(Named, "10.0.0.5");
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].startsWith("Nelze ulozit historii konfiguraci do "))
        << reports[0].toStdString();
}

// Like the history, a recording that cannot be written costs one report, and the
// session goes on without it.
TEST(SessionRecording, ARecordingThatCannotBeWrittenIsReportedOnce) {
    QTemporaryDir directory;
    QStringList reports;
    SessionRecording recording(directory.path(),
                               [&](const QByteArray& text) { reports << QString::fromUtf8(text); });
    recording.begin(QStringLiteral("127.0.0.1"), 9999);
    recording.connected();
    recording.sent("S****\r");
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(
        reports.first().startsWith(QStringLiteral("Nelze zapisovat zaznam komunikace do ")));
    EXPECT_EQ(SessionRecording::masked("Sheslo\r", "heslo"), QByteArray("S*****\r"));
    EXPECT_EQ(SessionRecording::masked("?\r", "heslo"), QByteArray("?\r"));
}
