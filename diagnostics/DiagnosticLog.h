#pragma once

#include "diagnostics/AppendOnlyTextStore.h"
#include "diagnostics/LogText.h"

#include <QObject>
#include <QTime>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

// The program's diagnostic record: the event log, the communication log and the
// list of script functions with their bodies. Every subsystem is handed this
// object and reports through its four log operations; the diagnostics window
// and any other observer only read it. Everything is appended and kept for the
// whole run; nothing removes entries.
//
// The log operations never raise: their callers are socket handlers, builder
// and script code that do not expect an error from logging. An entry that
// cannot be stored (out of memory) is dropped.
//
// Used only on the GUI thread.
class DiagnosticLog : public QObject {
    Q_OBJECT
public:
    // Local time of day by default; tests inject a fixed clock.
    using Clock = std::function<QTime()>;

    enum class Kind { Info, Error, Colour, Communication };

    // One entry as it was stored, for observers that mirror the log elsewhere
    // (console, log file). `text` is the stored form in Windows-1250.
    struct Record {
        Kind kind;
        std::uint32_t colour; // background or text colour; 0 for Info and Error
        QByteArray text;
    };
    using Listener = std::function<void(const Record&)>;

    // A communication log line and the text colour it is shown in.
    struct CommunicationLine {
        std::uint32_t colour;
        QByteArray text;
    };

    // Gives the body of a script function when the operator looks at it.
    using BodySource = std::function<QByteArray()>;

    explicit DiagnosticLog(Clock clock = {}, QObject* parent = nullptr);

    // The four log operations. Colours are $00BBGGRR numbers from 0 to $FFFFFF.
    void LogInfo(const LogText& text) noexcept;
    void LogError(const LogText& text) noexcept;
    void LogColor(std::uint32_t colour, const LogText& text) noexcept;
    void LogComm(std::uint32_t colour, const LogText& text) noexcept;

    // Appends a script function definition: its name and where its body comes
    // from. A function defined again gets another entry.
    void addScriptFunction(const QByteArray& name, BodySource body) noexcept;

    qsizetype eventCount() const { return events_.size(); }
    QByteArray eventEntry(qsizetype index) const { return events_.at(index); }

    qsizetype communicationCount() const { return communication_.size(); }
    CommunicationLine communicationLine(qsizetype index) const;

    qsizetype scriptFunctionCount() const { return static_cast<qsizetype>(functions_.size()); }
    QByteArray scriptFunctionName(qsizetype index) const;
    // The body as its source gives it now; empty when the source has none or fails.
    QByteArray scriptFunctionBody(qsizetype index) const noexcept;

    // The memory the logs and the function list have taken, which they keep.
    std::size_t heldBytes() const;

    // Listeners hear of every entry of both logs as it is stored. A listener
    // must not throw (what it throws is swallowed); entries that a listener
    // itself logs are stored but not announced again, so it cannot recurse.
    int addListener(Listener listener);
    void removeListener(int id);

signals:
    // For views: the logs and the function list have grown; read them by count.
    void eventLogGrew();
    void communicationLogGrew();
    void scriptFunctionsGrew();

private:
    void appendEvent(Kind kind, std::uint32_t colour, const QByteArray& message) noexcept;
    void announce(const Record& record) noexcept;
    QTime now() const noexcept;

    struct ScriptFunction {
        QByteArray name;
        BodySource body;
    };

    Clock clock_;
    AppendOnlyTextStore events_;
    AppendOnlyTextStore communication_;
    std::vector<std::uint32_t> communicationColours_;
    std::vector<ScriptFunction> functions_;
    std::map<int, Listener> listeners_;
    int nextListenerId_ = 1;
    bool announcing_ = false;
};
