#include "ScriptTestRig.h"

namespace {

using Names = QStringList;

Names functionNames(const RecordingHost& host) {
    Names names;
    for (const auto& entry : host.functions)
        names << entry.first;
    return names;
}

TEST_F(ScriptTest, WorkedExampleDefinesLogsAndCalls) {
    auto* advanced = add<TestForm>("Advanced", nullptr);
    C->setCurrentIndex(1);
    E->setEnabled(false);
    run("function showAdvanced() { Advanced.Show; }\nE.Enabled:=C.ItemIndex=1; showAdvanced();");

    ASSERT_EQ(script.FunctionCount(), 1);
    const TSMethod& method = script.Function(0);
    EXPECT_EQ(method.Definition(), " showAdvanced() { Advanced.Show; }");
    EXPECT_EQ(method.GetName(), "showAdvanced");
    EXPECT_EQ(method.GetBody(), "{ Advanced.Show; ");
    EXPECT_EQ(host.log, Names{"FF0000: showAdvanced() {"});
    EXPECT_EQ(functionNames(host), Names{"showAdvanced"});
    EXPECT_EQ(host.functions[0].second, &method);
    EXPECT_TRUE(E->isEnabled());
    EXPECT_EQ(host.calls, Names{"Show:Advanced"});
    delete advanced;
}

// Name and body follow the definition's text rules, odd results included.
TEST_F(ScriptTest, NameAndBodyOfUnusualDefinitions) {
    struct Case {
        const char* script;
        const char* name;
        const char* body;
    } cases[] = {
        {"function  twoBlanks() { Hide; }", " twoBlanks", "{ Hide; "},
        {"function\nlineBreak() { Hide; }", "{ Hide; }", "{ Hide; "},
        {"function inner() { Show; { Hide; } Show; }", "inner", "{ Show; { Hide; "},
        {"function noBrace() Hide; }", "noBrace", " noBrace() Hide; }"},
        {"function closeFirst() } {", "closeFirst", ""},
        {"function noParen {x}", "noParen {x}", "{x"},
    };
    for (const Case& c : cases) {
        run(c.script);
        const TSMethod& method = script.Function(script.FunctionCount() - 1);
        EXPECT_EQ(method.GetName(), c.name) << c.script;
        EXPECT_EQ(method.GetBody(), c.body) << c.script;
    }
    EXPECT_EQ(host.log[4], "FF0000: closeFirst() } {");
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(ScriptTest, DefinitionConsumesTextThroughItsBalancingBrace) {
    run("function a() { { Hide; } } Show; function b() x; } Show;");
    EXPECT_EQ(host.calls, (Names{"ShowMain", "ShowMain"}));

    host.calls.clear();
    run("function open() { Show; Hide;");
    EXPECT_EQ(script.Function(script.FunctionCount() - 1).Definition(), " open() { Show; Hide;");
    EXPECT_TRUE(host.calls.isEmpty());

    const qsizetype count = script.FunctionCount();
    run("function");
    run(" \t\r\n ");
    EXPECT_EQ(script.FunctionCount(), count);
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(ScriptTest, DisabledEngineDoesNothing) {
    script.setProperty("Enabled", false);
    run("function f() { Hide; } Show;");
    EXPECT_EQ(script.FunctionCount(), 0);
    EXPECT_TRUE(host.calls.isEmpty());
    EXPECT_TRUE(host.log.isEmpty());
}

TEST_F(ScriptTest, KeywordIsCaseSensitiveWholeToken) {
    run("Function f() {Show;}");
    EXPECT_EQ(script.FunctionCount(), 0);
    EXPECT_EQ(host.calls, Names{"Message:Script - Unknown command: '{Show'"});
}

TEST_F(ScriptTest, CallsRunTheEarliestDefinitionAndNeedBrackets) {
    run("function Show() { Hide; } function Show() { Set; } Show(); Show;");
    EXPECT_EQ(host.calls, (Names{"HideMain", "ShowMain"}));
    EXPECT_EQ(functionNames(host), (Names{"Show", "Show"}));

    host.calls.clear();
    run("Set; Set(); missing(); show; function glued() {Hide; } glued();");
    EXPECT_EQ(host.calls, (Names{"Apply", "Message:Script - Unknown command: 'Set()'",
                                 "Message:Script - Unknown command: 'missing()'",
                                 "Message:Script - Unknown command: 'show'",
                                 "Message:Script - Unknown command: '{Hide'"}));
}

TEST_F(ScriptTest, DefinitionInBodyDefinesAgainOnEveryCall) {
    run("function outer() { function inner() } outer(); outer(); inner();");
    EXPECT_EQ(functionNames(host), (Names{"outer", "inner", "inner"}));
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(ScriptTest, MutualRecursionEndsWithAnError) {
    EXPECT_EQ(errorOf([&] { run("function a() { b(); } function b() { a(); } a(); Show;"); }),
              "Script - Too many nested function calls (more than 200)");
    EXPECT_TRUE(host.calls.isEmpty());
    // The depth is back to zero: a fresh chain of calls runs.
    run("function c() { Show; } c();");
    EXPECT_EQ(host.calls, Names{"ShowMain"});
}

} // namespace
