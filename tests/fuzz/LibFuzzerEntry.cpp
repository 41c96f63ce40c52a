// libFuzzer's entry for one target, chosen when the fuzz executable is built
// (KONFIDOR_FUZZ_TARGET is one of FuzzTargets' functions).
#include "FuzzTargets.h"

#include <QApplication>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(*argc, *argv);
    FuzzTargets::prepareProcess();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzTargets::KONFIDOR_FUZZ_TARGET(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
