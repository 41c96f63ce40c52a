#include "script/Evaluator.h"

#include "ScriptTestRig.h"

namespace {

using Names = QStringList;

// What E's Text holds after one statement, starting from "old".
TEST_F(ScriptTest, AssignmentsTakeTheValueOnlyAtSemicolonOrOperator) {
    C->setCurrentIndex(2);
    struct Case {
        const char* script;
        const char* text;
    } cases[] = {
        {"E.Text:=abc;", "abc"},
        {"E.Text:=C.Text;", "two"},
        {"E.Text:=1+1;", "11"},
        {"E.Text:=1.5;", "5"},        // "1." looks up a widget named 1
        {"E.Text:=abc", ""},          // never read: Empty is written
        {"E.Text:=x;Hide;", "Hide"},  // the second ";" replaces x; Hide never runs
        {"E.Text:=(x);", ""},         // ")" does not read the pending word
        {"E.Text:=Nope.Tag;", "Tag"}, // an unknown widget reads as its word
        {"E.Te:xt:=abc;", "abc"},     // the lone ":" is reported and dropped
        {"E.Text:=ab+cd+ef;", "abcdef"},
        {"E.Text:=E.Enabled;", "True"}, // truth values read as their names
    };
    for (const Case& c : cases) {
        E->setText("old");
        run(c.script);
        EXPECT_EQ(E->text(), c.text) << c.script;
    }
    EXPECT_EQ(host.calls, Names{"Message:Script - ':=' expected but ':' found"});
}

// Operators group to the right with no precedence; comparisons give truth values.
TEST_F(ScriptTest, OperatorsAndComparisons) {
    C->setCurrentIndex(1);
    struct Case {
        const char* script;
        int tag;
    } cases[] = {
        {"E.Tag:=C.ItemIndex+1;", 2}, // Integer plus text adds
        {"E.Tag:=5-2;", 3},           // texts subtract as numbers
        {"E.Tag:=1|2;", 3},           // and combine bitwise
        {"E.Tag:=12&10;", 8},         // 1100 & 1010
        {"E.Tag:=(3=4)&6;", 2},       // "&" reads the word 3 again: 3 & 6
        {"E.Tag:=10-2-3;", 11},       // 10 - (2 - 3)
    };
    for (const Case& c : cases) {
        run(c.script);
        EXPECT_EQ(E->tag, c.tag) << c.script;
    }

    struct Truth {
        const char* script;
        bool enabled;
    } truths[] = {
        {"E.Enabled:=C.ItemIndex=1;", true}, {"E.Enabled:=C.ItemIndex=2;", false},
        {"E.Enabled:=a<>b;", true},          {"E.Enabled:=a<>a;", false},
        {"E.Enabled:=b>a;", true},           {"E.Enabled:=a<b;", true},
        {"E.Enabled:=1<=1;", false}, // 1 < (Empty = 1)
        {"E.Enabled:=(a=a)", false}, // a is compared with Empty
        {"E.Enabled:=Nope.Tag=Tag;", true},
    };
    for (const Truth& t : truths) {
        E->setEnabled(!t.enabled);
        run(t.script);
        EXPECT_EQ(E->isEnabled(), t.enabled) << t.script;
    }
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(ScriptTest, StatementsAndTokens) {
    run("Show;Hide; E.Text:=Hello World; E.Caption; W.Caption;");
    EXPECT_EQ(E->text(), "");
    EXPECT_EQ(host.calls,
              (Names{"ShowMain", "HideMain", "Message:Script - Unknown command: 'World'",
                     "Message:Object Form don't support this function or property!"}));
}

// The value slot and the bracket counter belong to one Run and all its tokens.
TEST_F(ScriptTest, RunSharesValueSlotAndBracketCounter) {
    EXPECT_EQ(errorOf([&] { run("-1;"); }), "");
    EXPECT_EQ(errorOf([&] { run("abc+x; -1;"); }),
              "Could not convert variant of type (String) into type (Double)");

    run("( E.Text:=abc;");
    EXPECT_EQ(E->text(), "abc");
    run("( )Hide; Show;");
    EXPECT_EQ(host.calls, (Names{"Message:Script - Unknown bracket found!", "ShowMain"}));
}

// An error ends the whole Run; what is done stays done.
TEST_F(ScriptTest, ErrorsEndTheRun) {
    E->tag = 7;
    EXPECT_EQ(errorOf([&] { run("E.Text:=a; W.Nope:=1; E.Tag:=5;"); }),
              "Property Nope does not exist");
    EXPECT_EQ(errorOf([&] { run("W.Show();"); }), "Property Show does not exist");
    EXPECT_EQ(errorOf([&] { run("Nope.Tag:=5; E.Tag:=5;"); }),
              "Script - No object to assign 'Tag' to");
    EXPECT_EQ(errorOf([&] { run("Tag:=5;"); }), "Script - No object to assign 'Tag' to");
    EXPECT_EQ(E->text(), "a");
    EXPECT_EQ(E->tag, 7);
    EXPECT_TRUE(host.calls.isEmpty());

    // Nesting that would exhaust the stack ends the run instead.
    const QByteArray groups = QByteArray(Evaluator::MaxLevelDepth, '(') + "Show;";
    const QByteArray operands = "E.Text:=" + QByteArray("a+").repeated(Evaluator::MaxLevelDepth);
    for (const QByteArray& deep : {groups, operands})
        EXPECT_EQ(errorOf([&] { script.Run(deep); }),
                  "Script - Statement nested too deeply (more than 2000 levels)");
}

TEST_F(ScriptTest, ErrorOfAChangeEventEndsTheAssigningScript) {
    auto* other = add<TestEdit>("Other", W);
    QObject::connect(E, &QLineEdit::textChanged, E,
                     [&] { objects.runEvent([&] { run("Other.Tag:=1; Other.Nope:=2;"); }); });
    EXPECT_EQ(errorOf([&] { run("E.Text:=changed; E.Tag:=9;"); }), "Property Nope does not exist");
    EXPECT_EQ(E->text(), "changed");
    EXPECT_EQ(other->tag, 1);
    EXPECT_EQ(E->tag, 0);
}

} // namespace
