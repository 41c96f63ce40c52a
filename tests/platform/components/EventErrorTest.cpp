#include "platform/EntryGuard.h"
#include "platform/Error.h"
#include "platform/components/Reflection.h"
#include "platform/widgets/Edit.h"
#include "platform/widgets/Form.h"
#include "support/EventProbe.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

// Collects what reaches the application's error box.
class ReportedErrors {
public:
    ReportedErrors() {
        previous_ = EntryGuard::setReporter([this](const QString& m) { messages.append(m); });
    }
    ~ReportedErrors() { EntryGuard::setReporter(previous_); }
    QStringList messages;

private:
    EntryGuard::Reporter previous_;
};

struct FailingEdit {
    TForm form;
    TEdit* edit = new TEdit(&form);
    EventProbe probe;

    FailingEdit() {
        edit->SetParent(&form);
        probe.action = [](QObject*) {
            throw Error(QStringLiteral("script failed"));
        };
        BindEvent(edit, "OnChange", FindPublishedMethod(&probe, "Execute"));
    }
};

TEST(EventErrors, AnErrorOfAnEventThatAWriteFiredComesOutOfTheWrite) {
    ReportedErrors reported;
    FailingEdit f;
    try {
        SetPropValue(f.edit, "Text", Variant::fromText("new"));
        FAIL() << "the write hid the event's error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), "script failed");
    }
    EXPECT_EQ(f.edit->Text(), "new"); // the write itself happened before the event ran
    EXPECT_EQ(f.probe.calls, 1);
    EXPECT_TRUE(reported.messages.isEmpty());

    // Only the first error of one write comes out; the next write starts clean.
    f.probe.action = nullptr;
    SetPropValue(f.edit, "Text", Variant::fromText("newer"));
    EXPECT_EQ(f.probe.calls, 2);
}

TEST(EventErrors, AnErrorOfAnEventThatTheOperatorCausedGoesToTheErrorBox) {
    ReportedErrors reported;
    FailingEdit f;
    f.form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.form.Widget()));
    f.edit->Widget()->setFocus();
    QTest::keyClick(f.form.Widget()->windowHandle(), Qt::Key_A);
    EXPECT_EQ(f.edit->Text(), "a");
    EXPECT_EQ(reported.messages, QStringList{"script failed"});
}

} // namespace
