// How the diagnostic log copes with a long run: appending a million entries
// while the diagnostics window is attached, and publishing and painting them.
#include "diagnostics/CommunicationLogView.h"
#include "diagnostics/DiagnosticLog.h"
#include "diagnostics/EventLogModel.h"
#include "diagnostics/TfDebug.h"

#include <QApplication>
#include <QListView>
#include <QTabWidget>
#include <benchmark/benchmark.h>

namespace {

constexpr int kEntries = 1'000'000;

void appendMillion(DiagnosticLog& log) {
    for (int i = 0; i < kEntries; ++i) {
        switch (i % 4) {
        case 0:
            log.LogInfo(QByteArray("Nastavena vlastnost Caption = Nastaveni site"));
            break;
        case 1:
            log.LogColor(0x00FF00, QByteArray("Vytvoren TEdit eIPadresa"));
            break;
        case 2:
            log.LogError(QByteArray("Vlastnost Kolor neexistuje"));
            break;
        default:
            log.LogColor(0x00FFFF, QByteArray("Nacten XMLpath NET/IP = 192.168.1.10"));
        }
    }
}

// Appending only: the window is attached but the message loop does not run.
void BM_AppendMillionEntries(benchmark::State& state) {
    for (auto _ : state) {
        DiagnosticLog log;
        TfDebug window(log);
        appendMillion(log);
        benchmark::DoNotOptimize(log.eventCount());
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_AppendMillionEntries)->Unit(benchmark::kMillisecond);

// A visible window that shows a million new entries at once, then one more
// batch of a thousand after them, each followed by a paint of the list.
void BM_ShowAndPaintAfterMillionEntries(benchmark::State& state) {
    DiagnosticLog log;
    TfDebug window(log);
    window.PageControl1()->setCurrentIndex(0);
    window.show();
    appendMillion(log);
    for (auto _ : state) {
        window.catchUp();
        window.LogListBox()->scrollToBottom();
        benchmark::DoNotOptimize(window.LogListBox()->viewport()->grab());
        for (int i = 0; i < 1000; ++i)
            log.LogInfo(QByteArray("dalsi zaznam"));
    }
}
BENCHMARK(BM_ShowAndPaintAfterMillionEntries)->Unit(benchmark::kMillisecond)->Iterations(5);

// The communication log: a million coloured lines appended, then shown.
void BM_CommunicationMillionLines(benchmark::State& state) {
    for (auto _ : state) {
        DiagnosticLog log;
        CommunicationLogView view(log);
        for (int i = 0; i < kEntries; ++i)
            log.LogComm(i % 2 ? 0x008000 : 0x000080, QByteArray("Receive 4"));
        view.showPending();
        benchmark::DoNotOptimize(view.document()->blockCount());
    }
}
BENCHMARK(BM_CommunicationMillionLines)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

