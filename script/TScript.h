#pragma once

#include "script/TSMethod.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <memory>
#include <mutex>
#include <vector>

class ScriptHost;
class ScriptObjects;

// The script engine. Run cuts a script text into tokens at white space; the
// keyword "function" stores a function, every other token is a statement for
// the evaluator. The function store only grows: a function defined twice is
// stored twice and a call runs the earliest definition.
//
// Run catches nothing: an error raised by a statement, a property access or a
// value operation ends the whole Run and reaches its caller.
class TScript : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)

public:
    // Nested function calls deeper than this end the run with an error, so
    // that functions calling each other cannot exhaust the stack.
    static constexpr int MaxCallDepth = 200;

    TScript(ScriptHost& host, ScriptObjects& objects, QObject* owner);
    ~TScript() override;

    void Run(const QByteArray& text);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    qsizetype FunctionCount() const { return static_cast<qsizetype>(functions_.size()); }
    const TSMethod& Function(qsizetype index) const { return *functions_[index]; }

    // Runs the earliest function called by `callWord` (its name and "()");
    // false when there is none.
    bool CallFunction(QByteArrayView callWord);

    ScriptHost& Host() const { return host_; }
    ScriptObjects& Objects() const { return objects_; }

private:
    // Stores the definition that starts `rest` (the text right after the
    // keyword) and returns how many characters it took.
    qsizetype DefineFunction(QByteArrayView rest);

    ScriptHost& host_;
    ScriptObjects& objects_;
    std::vector<std::unique_ptr<TSMethod>> functions_;
    // Guards each append to the store and to the diagnostics list. Only the GUI
    // thread takes it, possibly again from a script run inside a nested loop.
    std::recursive_mutex FunctionLock;
    bool enabled_ = true;
    int callDepth_ = 0;
};
