#include "ScriptTestRig.h"

#include <QPushButton>
#include <QTest>

namespace {

using Names = QStringList;

TEST_F(ScriptTest, CommandsWithoutObject) {
    run("Show; Hide; Set; Disconnect; Release; X.Hide;");
    EXPECT_EQ(host.calls,
              (Names{"ShowMain", "HideMain", "Apply", "Disconnect", "DestroyAll", "HideMain"}));
    EXPECT_TRUE(host.registry.isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return W.isNull(); }));
}

TEST_F(ScriptTest, WindowCommands) {
    run("W.Show; W.Close; W.Hide; W.ShowModal; W.show; E.Show;");
    EXPECT_EQ(host.calls, (Names{"Show:W", "Close:W", "Hide:W", "CloseWait", "ShowModal:W",
                                 "Message:Object Form don't support this function or property!"}));
}

TEST_F(ScriptTest, DestroyFreesTheWindowAndReconnectsWhenAsked) {
    host.reconnect = true;
    run("W.Destroy; W.Show;");
    // The entry is gone before the next statement: "W." finds nothing, so
    // "Show" shows the main window. The new login itself leaves it hidden.
    EXPECT_EQ(host.calls, (Names{"Unregister:W", "Connect", "ShowMain"}));
    EXPECT_EQ(host.connectSender, &script);
    EXPECT_FALSE(host.reconnect);
    EXPECT_TRUE(QTest::qWaitFor([&] { return W.isNull(); }));
    EXPECT_TRUE(E.isNull());
}

// A button's click event frees the button's own window; the button and the
// window stay alive until the click has returned.
TEST_F(ScriptTest, FreeingTheRunningEventsWindow) {
    // "W." finds nothing once the entry is gone, so "Hide" hides the main window.
    for (const char* text : {"W.Destroy; W.Hide;", "Release; W.Hide;"}) {
        if (!W) {
            W = add<TestForm>("W", nullptr);
            E = add<TestEdit>("E", W);
        }
        auto* button = add<QPushButton>("B", W);
        QPointer<QPushButton> alive(button);
        QObject::connect(button, &QPushButton::clicked, button, [&, text] {
            objects.runEvent([&] { run(text); });
            EXPECT_TRUE(alive);
        });
        W->show();
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return W.isNull(); })) << text;
        EXPECT_TRUE(alive.isNull());
        EXPECT_EQ(host.calls.last(), "HideMain") << text;
    }
}

} // namespace
