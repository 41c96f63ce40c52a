// Every kept input of every fuzz target, through the same entry points as the
// fuzzer: the seed corpus and each finding's regression input. One test per
// target; an input that crashes or breaks a check ends the test's process.
#include "FuzzTargets.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class FuzzReplay : public ::testing::TestWithParam<FuzzTargets::Target> {};

TEST_P(FuzzReplay, EveryKeptInputIsHandled) {
    static const bool prepared = [] {
        FuzzTargets::prepareProcess();
        return true;
    }();
    ASSERT_TRUE(prepared);
    const QDir root(QStringLiteral(KONFIDOR_FUZZ_DIR));
    int inputs = 0;
    for (const char* kind : {"corpus", "regressions"}) {
        const QDir folder(root.filePath(QStringLiteral("%1/%2").arg(kind, GetParam().name)));
        for (const QFileInfo& entry : folder.entryInfoList(QDir::Files, QDir::Name)) {
            QFile file(entry.filePath());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << entry.filePath().toStdString();
            SCOPED_TRACE(entry.filePath().toStdString());
            GetParam().run(file.readAll());
            ++inputs;
        }
    }
    EXPECT_GT(inputs, 0) << "no seed inputs for " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(FuzzTargets::all()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
