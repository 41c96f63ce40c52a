#include "app/CommandLine.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

namespace {

StartOptions parse(QStringList parameters) {
    parameters.prepend(QStringLiteral("konfidor"));
    return CommandLine::parse(parameters);
}

} // namespace

TEST(CommandLine, DebugSwitchNeedsTwoCharactersBeforeTheWord) {
    for (const char* matching : {"//debug", "-/debug", "//DEBUG", "-/Debug", "//dEbUg"})
        EXPECT_TRUE(CommandLine::isDebugSwitch(QString::fromLatin1(matching))) << matching;
    for (const char* other : {"/debug", "-debug", "debug", "--debug", "///debug", "//debugx",
                              "/-debug", "-", "", "//debu", "\\/debug"})
        EXPECT_FALSE(CommandLine::isDebugSwitch(QString::fromLatin1(other))) << other;
}

TEST(CommandLine, SwitchFormsAreFoundAnywhereAndKeptFromTheParser) {
    // "-/debug" would be an unknown option to the parser; it must not reach it.
    const StartOptions options = parse({"--address", "10.0.0.1", "-/DEBUG"});
    EXPECT_TRUE(options.debugSwitch);
    EXPECT_TRUE(options.ignoredOptions.isEmpty());
    EXPECT_EQ(options.address, "10.0.0.1");
    EXPECT_TRUE(parse({"//debug"}).debugSwitch);
    EXPECT_TRUE(parse({"--debug"}).debugSwitch);
}

TEST(CommandLine, ParametersThatAreNoSwitchLeaveItOff) {
    EXPECT_FALSE(parse({}).debugSwitch);
    EXPECT_FALSE(parse({"/debug"}).debugSwitch);
    const StartOptions dashed = parse({"-debug"});
    EXPECT_FALSE(dashed.debugSwitch);
    // Unknown options are named and the program still runs.
    EXPECT_FALSE(dashed.ignoredOptions.isEmpty());
    EXPECT_EQ(dashed.action, StartOptions::Action::Run);
}

TEST(CommandLine, TheProgramNameIsNeverTakenForTheSwitch) {
    EXPECT_FALSE(CommandLine::parse({QStringLiteral("//debug")}).debugSwitch);
}

TEST(CommandLine, FieldsAndPortHaveDefaultsAndCanBeGiven) {
    const StartOptions defaults = parse({});
    EXPECT_EQ(defaults.address, StartOptions::DefaultAddress);
    EXPECT_EQ(defaults.password, "ZEFIR");
    EXPECT_EQ(defaults.port, 9999);
    EXPECT_TRUE(defaults.sheetDirectory.isEmpty());

    const StartOptions given = parse({"--address", "127.0.0.1", "--password", "Žluťák", "--port",
                                      "40123", "--sheets", "/tmp/sheets"});
    EXPECT_EQ(given.address, "127.0.0.1");
    EXPECT_EQ(given.password, QStringLiteral("Žluťák"));
    EXPECT_EQ(given.port, 40123);
    EXPECT_EQ(given.sheetDirectory, "/tmp/sheets");
    EXPECT_EQ(parse({"--password="}).password, "");
}

TEST(CommandLine, MissingOrInvalidValuesAreErrors) {
    EXPECT_THROW(parse({"--address"}), Error);
    EXPECT_THROW(parse({"--port", "0"}), Error);
    EXPECT_THROW(parse({"--port", "65536"}), Error);
    EXPECT_THROW(parse({"--port", "x"}), Error);
    EXPECT_THROW(parse({"--answer", "maybe"}), Error);
    EXPECT_THROW(parse({"--stay", "-1"}), Error);
    // Headless steps in the windowed program would be ignored.
    EXPECT_THROW(parse({"--run", "Set;"}), Error);
    EXPECT_THROW(parse({"--offline", "x.xm", "--fire", "bSave.OnClick"}), Error);
    EXPECT_THROW(parse({"--answer", "yes"}), Error);
    EXPECT_NO_THROW(parse({"--check", "--run", "Set;", "--answer", "yes"}));
}

TEST(CommandLine, HeadlessStepsKeepTheirOrderAcrossRunAndFire) {
    const StartOptions options =
        parse({"--check", "--run", "a;", "--fire=b.OnClick", "--answer", "yes", "--run=--fire",
               "--fire", "c.OnChange", "--stay", "5"});
    EXPECT_TRUE(options.check);
    EXPECT_TRUE(options.answerYes);
    EXPECT_EQ(options.staySeconds, 5);
    using Kind = StartOptions::Step::Kind;
    ASSERT_EQ(options.steps.size(), 4);
    const std::pair<Kind, QString> expected[] = {{Kind::Run, "a;"},
                                                 {Kind::Fire, "b.OnClick"},
                                                 {Kind::Run, "--fire"},
                                                 {Kind::Fire, "c.OnChange"}};
    for (qsizetype i = 0; i < 4; ++i) {
        EXPECT_EQ(options.steps[i].kind, expected[i].first) << i;
        EXPECT_EQ(options.steps[i].text, expected[i].second) << i;
    }
}

TEST(CommandLine, HelpAndVersionAreActionsOfTheirOwn) {
    const StartOptions help = parse({"--help"});
    EXPECT_EQ(help.action, StartOptions::Action::ShowHelp);
    for (const char* option : {"--address", "--password", "--port", "--debug", "--sheets"})
        EXPECT_TRUE(help.helpText.contains(QLatin1String(option))) << option;
    EXPECT_EQ(parse({"--version"}).action, StartOptions::Action::ShowVersion);
}
