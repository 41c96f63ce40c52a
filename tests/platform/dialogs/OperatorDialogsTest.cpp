#include "platform/dialogs/OperatorDialogs.h"

#include "platform/dialogs/ApplicationTitle.h"
#include "platform/dialogs/RecordingDialogs.h"

#include <gtest/gtest.h>

TEST(ErrorBoxText, FullStopOnlyAfterCharactersThatSortAfterTheStop) {
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"Chyba komunikace - Spojení bylo aktivně odmítnuto.",
         "Chyba komunikace - Spojení bylo aktivně odmítnuto."},
        {"Chyba komunikace - Chybový kod Windows socket API:10065",
         "Chyba komunikace - Chybový kod Windows socket API:10065."},
        {"Chybné heslo!", "Chybné heslo!"}, // '!' sorts before '.'
        {"Opravdu?", "Opravdu?."},          // '?' sorts after '.'
        {"a-", "a-"},
        {"a/", "a/."},
        {"Nelze najít soubor", "Nelze najít soubor."},
        {"Konec řádku\n", "Konec řádku\n"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(errorBoxText(QString::fromUtf8(c.message)), QString::fromUtf8(c.shown));
    }
}

TEST(ApplicationTitle, FileNameUpToItsFirstDotWithTheRestOfTheLettersLowered) {
    const struct {
        const char* path;
        const char* title;
    } cases[] = {
        {"/usr/bin/konfidor", "konfidor"},
        {"C:\\Program Files\\Konfidor\\KONFIDOR.EXE", "Konfidor"},
        {"/opt/tool.d/KonFidor.tar.gz", "Konfidor"},
        {"ŠKODA.exe", "Škoda"},
        {"/home/a/.hidden", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ApplicationTitle::fromProgramPath(QString::fromUtf8(c.path)),
                  QString::fromUtf8(c.title));
    }
}

class RecordingDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { previous_ = OperatorDialogs::install(&recorder_); }
    void TearDown() override { OperatorDialogs::install(previous_); }

    RecordingDialogs recorder_;
    OperatorDialogs* previous_ = nullptr;
};

TEST_F(RecordingDialogsTest, RecordsEveryKindWithItsCaptionAndShownText) {
    const QString title = ApplicationTitle::current();
    ASSERT_FALSE(title.isEmpty());

    OperatorDialogs::current().showError(QStringLiteral("Chyba"));
    OperatorDialogs::current().showNotice(QStringLiteral("Chybné heslo"));
    const bool yes = OperatorDialogs::current().askYesNo(QStringLiteral("Znovu přihlásit"),
                                                         QStringLiteral("Přejete si?"));

    EXPECT_FALSE(yes); // the default answer
    const auto& records = recorder_.records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].kind, DialogKind::Error);
    EXPECT_EQ(records[0].caption, title);
    EXPECT_EQ(records[0].text, QStringLiteral("Chyba."));
    EXPECT_EQ(records[1].kind, DialogKind::Notice);
    EXPECT_EQ(records[1].caption, title);
    EXPECT_EQ(records[1].text, QStringLiteral("Chybné heslo")); // notices keep their text
    EXPECT_EQ(records[2].kind, DialogKind::Question);
    EXPECT_EQ(records[2].caption, QStringLiteral("Znovu přihlásit"));
    EXPECT_EQ(records[2].answer, DialogAnswer::No);
}

TEST_F(RecordingDialogsTest, QuestionsTakeQueuedAnswersInOrderThenTheDefault) {
    recorder_.queueAnswer(DialogAnswer::Yes);
    recorder_.queueAnswer(DialogAnswer::No);
    recorder_.setDefaultAnswer(DialogAnswer::Yes);
    std::vector<DialogAnswer> observed;
    recorder_.setObserver([&](const RecordingDialogs::Record& r) { observed.push_back(r.answer); });

    OperatorDialogs& dialogs = OperatorDialogs::current();
    EXPECT_TRUE(dialogs.askYesNo({}, QStringLiteral("1")));
    dialogs.showNotice(QStringLiteral("a notice does not use up an answer"));
    EXPECT_FALSE(dialogs.askYesNo({}, QStringLiteral("2")));
    EXPECT_TRUE(dialogs.askYesNo({}, QStringLiteral("3")));
    EXPECT_EQ(observed, (std::vector{DialogAnswer::Yes, DialogAnswer::Ok, DialogAnswer::No,
                                     DialogAnswer::Yes}));
}

TEST_F(RecordingDialogsTest, EntryGuardErrorsReachTheErrorBox) {
    const EntryGuard::Reporter previous = EntryGuard::setReporter(errorBoxReporter());
    EntryGuard::guardEntry([] { throw Error(QStringLiteral("Class TFoo not found")); });
    EntryGuard::setReporter(previous);

    ASSERT_EQ(recorder_.records().size(), 1u);
    EXPECT_EQ(recorder_.records()[0].kind, DialogKind::Error);
    EXPECT_EQ(recorder_.records()[0].text, QStringLiteral("Class TFoo not found."));
}
