// Statements per second of the script engine for the two statements sheets run
// most, a property copy between two widgets and a call of a script function,
// next to QJSEngine doing the same on the same widgets' Qt properties. Our engine
// reaches the properties through the program's own reflection.
#include "script/ComponentObjects.h"
#include "script/QuietScriptHost.h"
#include "script/TScript.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <benchmark/benchmark.h>

#ifdef KONFIDOR_BENCH_QJSENGINE
#include <QJSEngine>
#endif

#include <utility>
#include <vector>

namespace {

class BenchEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString Text READ text WRITE setText)
};

class BenchCombo : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(QString Text READ currentText)
};

// A registry of two widgets and nothing else of the program. Like the sheet's
// registry, it compares the names as the script has them.
class BenchHost : public QuietScriptHost {
public:
    std::vector<std::pair<QByteArray, QObject*>> registry;

    QObject* FindSheetComponent(const QByteArray& name) override {
        for (const auto& [entryName, entry] : registry) {
            if (entryName == name)
                return entry;
        }
        return nullptr;
    }
};

// The edit E and the combo box C (showing "jedna") that both engines work on.
struct Widgets {
    Widgets() {
        E.setObjectName("E");
        C.setObjectName("C");
        C.addItems({"nula", "jedna"});
        C.setCurrentIndex(1);
    }
    BenchEdit E;
    BenchCombo C;
};

struct Engine {
    explicit Engine(Widgets& widgets) { host.registry = {{"E", &widgets.E}, {"C", &widgets.C}}; }
    BenchHost host;
    ComponentObjects objects;
    TScript script{host, objects, nullptr};
};

// Runs `statement` again and again, after `definitions` ran once.
void konfidor(benchmark::State& state, const char* definitions, const char* statement) {
    Widgets widgets;
    Engine engine(widgets);
    engine.script.Run(definitions);
    const QByteArray text(statement);
    for (auto _ : state)
        engine.script.Run(text);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(konfidor, assignment, "", "E.Text:=C.Text;");
BENCHMARK_CAPTURE(konfidor, functionCall, "function copy() { E.Text:=C.Text; }", "copy();");

#ifdef KONFIDOR_BENCH_QJSENGINE

struct JsEngine {
    explicit JsEngine(Widgets& widgets) {
        // The engine must not take ownership: the widgets belong to the benchmark.
        QJSEngine::setObjectOwnership(&widgets.E, QJSEngine::CppOwnership);
        QJSEngine::setObjectOwnership(&widgets.C, QJSEngine::CppOwnership);
        engine.globalObject().setProperty("E", engine.newQObject(&widgets.E));
        engine.globalObject().setProperty("C", engine.newQObject(&widgets.C));
    }
    QJSEngine engine;
};

// Like Run, the statement's source is handed over each time.
void qjs(benchmark::State& state, const char* definitions, const char* statement) {
    Widgets widgets;
    JsEngine js(widgets);
    js.engine.evaluate(QString::fromLatin1(definitions));
    const QString text = QString::fromLatin1(statement);
    for (auto _ : state)
        benchmark::DoNotOptimize(js.engine.evaluate(text));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(qjs, assignment, "", "E.Text = C.Text;");
BENCHMARK_CAPTURE(qjs, functionCall, "function copy() { E.Text = C.Text; }", "copy();");

// QJSEngine's best case: the function compiled once and only called.
void qjsCompiledCall(benchmark::State& state) {
    Widgets widgets;
    JsEngine js(widgets);
    QJSValue copy = js.engine.evaluate(QStringLiteral("(function() { E.Text = C.Text; })"));
    for (auto _ : state)
        benchmark::DoNotOptimize(copy.call());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(qjsCompiledCall);

#endif

} // namespace

#include "ScriptBench.moc"
