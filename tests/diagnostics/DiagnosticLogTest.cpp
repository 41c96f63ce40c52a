#include "diagnostics/DiagnosticLog.h"

#include "diagnostics/LogEntryFormat.h"

#include <gtest/gtest.h>

namespace {

// A log whose clock reads whatever the test sets.
struct ClockedLog {
    QTime time{9, 5, 7};
    DiagnosticLog log{[this] {
        return time;
    }};
};

} // namespace

TEST(DiagnosticLog, StoredFormsOfTheEventLog) {
    ClockedLog c;
    c.log.LogInfo("Start aplikace");
    c.log.LogError("Nenalezen odpovidajici soubor");
    c.time = QTime(14, 5, 7);
    c.log.LogColor(0x00FF00, "Vytvoren TButton");
    c.log.LogColor(0x0000FF, "x");
    c.log.LogColor(0xF0FBFF, "y");
    c.log.LogColor(0, "");
    c.time = QTime(0, 0, 0);
    c.log.LogInfo("");
    c.time = QTime(23, 59, 59);
    c.log.LogError("e");

    const QByteArray expected[] = {
        "O9:05:07 - Start aplikace",
        "E9:05:07 - Nenalezen odpovidajici soubor",
        "#00FF0014:05:07 - Vytvoren TButton",
        "#0000FF14:05:07 - x",
        "#F0FBFF14:05:07 - y",
        "#00000014:05:07 - ",
        "O0:00:00 - ",
        "E23:59:59 - e",
    };
    ASSERT_EQ(c.log.eventCount(), std::size(expected));
    for (qsizetype i = 0; i < c.log.eventCount(); ++i)
        EXPECT_EQ(c.log.eventEntry(i), expected[i]) << i;
    EXPECT_EQ(c.log.communicationCount(), 0);
}

TEST(DiagnosticLog, CommunicationLinesCarryTimeAndColourButNoMarker) {
    ClockedLog c;
    c.log.LogComm(0x000080, "Connecting");
    c.log.LogComm(0x008000, QByteArray("Receive 12"));

    ASSERT_EQ(c.log.communicationCount(), 2);
    EXPECT_EQ(c.log.communicationLine(0).text, "9:05:07 - Connecting");
    EXPECT_EQ(c.log.communicationLine(0).colour, 0x000080u);
    EXPECT_EQ(c.log.communicationLine(1).text, "9:05:07 - Receive 12");
    EXPECT_EQ(c.log.communicationLine(1).colour, 0x008000u);
    EXPECT_EQ(c.log.eventCount(), 0);
}

TEST(DiagnosticLog, TextIsStoredAsWindows1250WhicheverFormItCameIn) {
    ClockedLog c;
    c.log.LogInfo("Připojit");                       // UTF-8 literal
    c.log.LogInfo(QString::fromUtf8("Ukončit"));     // wide text
    c.log.LogInfo(QByteArray("\x8Apatn\xE9 heslo")); // already Windows-1250
    c.log.LogInfo(QString::fromUtf8("日本"));        // no such characters in the code page

    EXPECT_EQ(c.log.eventEntry(0), QByteArray("O9:05:07 - P\xF8ipojit"));
    EXPECT_EQ(c.log.eventEntry(1), QByteArray("O9:05:07 - Ukon\xE8it"));
    EXPECT_EQ(c.log.eventEntry(2), QByteArray("O9:05:07 - \x8Apatn\xE9 heslo"));
    EXPECT_EQ(c.log.eventEntry(3), QByteArray("O9:05:07 - ??"));
}

TEST(DiagnosticLog, ColoursBeyondTwentyFourBitsKeepTheEntryReadable) {
    ClockedLog c;
    c.log.LogColor(0xFF00000F, "system colour");
    EXPECT_EQ(c.log.eventEntry(0), "#00000F9:05:07 - system colour");
    EXPECT_EQ(LogEntryFormat::entryLook(c.log.eventEntry(0)).shownText, "9:05:07 - system colour");
}

TEST(DiagnosticLog, ListenersHearEveryEntryOnceAndCannotHurtTheCaller) {
    ClockedLog c;
    std::vector<DiagnosticLog::Record> heard;
    const int recorder =
        c.log.addListener([&](const DiagnosticLog::Record& r) { heard.push_back(r); });
    c.log.addListener([](const DiagnosticLog::Record&) { throw std::runtime_error("disk full"); });
    // A listener that logs itself must not recurse.
    c.log.addListener([&](const DiagnosticLog::Record& r) {
        if (r.kind == DiagnosticLog::Kind::Error)
            c.log.LogInfo("listener saw an error");
    });

    c.log.LogInfo("a");
    c.log.LogError("b");
    c.log.LogColor(0xFF0000, "c");
    c.log.LogComm(0x80, "d");
    c.log.removeListener(recorder);
    c.log.LogInfo("not heard");

    ASSERT_EQ(heard.size(), 4u);
    EXPECT_EQ(heard[0].kind, DiagnosticLog::Kind::Info);
    EXPECT_EQ(heard[0].text, "O9:05:07 - a");
    EXPECT_EQ(heard[1].kind, DiagnosticLog::Kind::Error);
    EXPECT_EQ(heard[2].kind, DiagnosticLog::Kind::Colour);
    EXPECT_EQ(heard[2].colour, 0xFF0000u);
    EXPECT_EQ(heard[2].text, "#FF00009:05:07 - c");
    EXPECT_EQ(heard[3].kind, DiagnosticLog::Kind::Communication);
    EXPECT_EQ(heard[3].text, "9:05:07 - d");
    // The entry the listener logged is stored like any other.
    ASSERT_EQ(c.log.eventCount(), 5);
    EXPECT_EQ(c.log.eventEntry(2), "O9:05:07 - listener saw an error");
}

TEST(DiagnosticLog, AFailingClockStillGivesAnEntry) {
    DiagnosticLog log([]() -> QTime { throw std::runtime_error("no clock"); });
    log.LogInfo("x");
    EXPECT_EQ(log.eventEntry(0), "O0:00:00 - x");
}

TEST(DiagnosticLog, ScriptFunctionsKeepEveryDefinitionWithItsOwnBody) {
    DiagnosticLog log;
    log.addScriptFunction("onShow", [] { return QByteArray("{ A.Text = 1; "); });
    log.addScriptFunction("onShow", [] { return QByteArray("{ A.Text = 2; "); });
    log.addScriptFunction("broken", []() -> QByteArray { throw std::runtime_error("gone"); });
    log.addScriptFunction("none", {});

    ASSERT_EQ(log.scriptFunctionCount(), 4);
    EXPECT_EQ(log.scriptFunctionName(1), "onShow");
    EXPECT_EQ(log.scriptFunctionBody(0), "{ A.Text = 1; ");
    EXPECT_EQ(log.scriptFunctionBody(1), "{ A.Text = 2; ");
    EXPECT_EQ(log.scriptFunctionBody(2), "");
    EXPECT_EQ(log.scriptFunctionBody(3), "");
}

TEST(LogEntryFormat, LookOfEachKind) {
    using LogEntryFormat::entryLook;
    EXPECT_EQ(entryLook("O9:05:07 - Start aplikace").background, 0xE0FFE0u);
    EXPECT_EQ(entryLook("O9:05:07 - Start aplikace").shownText, "9:05:07 - Start aplikace");
    EXPECT_EQ(entryLook("E9:05:07 - x").background, 0xE0E0FFu);
    EXPECT_EQ(entryLook("#0000FF14:05:07 - x").background, 0x0000FFu);
    EXPECT_EQ(entryLook("#f0fbff1:00:00 - x").background, 0xF0FBFFu);
    EXPECT_EQ(entryLook("#0000FF14:05:07 - x").shownText, "14:05:07 - x");
    // Entries the log operations never make still draw without failing.
    EXPECT_FALSE(entryLook("#XYZ").background.has_value());
    EXPECT_EQ(entryLook("#XYZ").shownText, "");
    EXPECT_FALSE(entryLook("?abc").background.has_value());
    EXPECT_EQ(entryLook("?abc").shownText, "abc");
    EXPECT_FALSE(entryLook("").background.has_value());
}
