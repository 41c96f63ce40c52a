#include "diagnostics/DiagnosticLog.h"

#include "diagnostics/LogEntryFormat.h"

#include <QElapsedTimer>
#include <QtGlobal>

namespace {

// Local time of day without a time-zone lookup for every entry (the C library
// checks the zone file each time, which dominated the cost of logging): the zone
// is consulted once a second, and in between the time advances by a monotonic clock.
class LocalTimeOfDay {
public:
    QTime operator()() {
        if (!sinceLookup_.isValid() || sinceLookup_.elapsed() >= 1000) {
            lookedUp_ = QTime::currentTime();
            sinceLookup_.start();
            return lookedUp_;
        }
        return lookedUp_.addMSecs(static_cast<int>(sinceLookup_.elapsed()));
    }

private:
    QTime lookedUp_;
    QElapsedTimer sinceLookup_;
};

} // namespace

DiagnosticLog::DiagnosticLog(Clock clock, QObject* parent)
    : QObject(parent), clock_(clock ? std::move(clock) : Clock(LocalTimeOfDay())) {}

QTime DiagnosticLog::now() const noexcept {
    try {
        return clock_();
    } catch (...) {
        return QTime(0, 0);
    }
}

void DiagnosticLog::LogInfo(const LogText& text) noexcept {
    appendEvent(Kind::Info, 0, text.bytes());
}

void DiagnosticLog::LogError(const LogText& text) noexcept {
    appendEvent(Kind::Error, 0, text.bytes());
}

void DiagnosticLog::LogColor(std::uint32_t colour, const LogText& text) noexcept {
    appendEvent(Kind::Colour, colour, text.bytes());
}

void DiagnosticLog::LogComm(std::uint32_t colour, const LogText& text) noexcept {
    try {
        const QByteArray line = LogEntryFormat::communicationLine(now(), text.bytes());
        communicationColours_.push_back(colour);
        try {
            communication_.append(line);
        } catch (...) {
            communicationColours_.pop_back();
            throw;
        }
        emit communicationLogGrew();
        announce({Kind::Communication, colour, line});
    } catch (...) {
    }
}

void DiagnosticLog::appendEvent(Kind kind, std::uint32_t colour,
                                const QByteArray& message) noexcept {
    try {
        const QTime time = now();
        const QByteArray entry = kind == Kind::Info ? LogEntryFormat::infoEntry(time, message)
                                 : kind == Kind::Error
                                     ? LogEntryFormat::errorEntry(time, message)
                                     : LogEntryFormat::colourEntry(colour, time, message);
        events_.append(entry);
        emit eventLogGrew();
        announce({kind, colour, entry});
    } catch (...) {
        // Out of memory: the entry is dropped rather than failing the caller.
    }
}

void DiagnosticLog::announce(const Record& record) noexcept {
    if (announcing_ || listeners_.empty())
        return;
    announcing_ = true;
    // A listener may remove itself (or others) while it is called: walk a copy of the ids.
    std::vector<int> ids;
    try {
        for (const auto& [id, listener] : listeners_)
            ids.push_back(id);
    } catch (...) {
    }
    for (int id : ids) {
        auto found = listeners_.find(id);
        if (found == listeners_.end())
            continue;
        try {
            const Listener listener = found->second;
            listener(record);
        } catch (...) {
            qWarning("a diagnostic log listener failed");
        }
    }
    announcing_ = false;
}

DiagnosticLog::CommunicationLine DiagnosticLog::communicationLine(qsizetype index) const {
    return {communicationColours_.at(static_cast<std::size_t>(index)), communication_.at(index)};
}

void DiagnosticLog::addScriptFunction(const QByteArray& name, BodySource body) noexcept {
    try {
        functions_.push_back({name, std::move(body)});
        emit scriptFunctionsGrew();
    } catch (...) {
    }
}

std::size_t DiagnosticLog::heldBytes() const {
    std::size_t bytes = events_.heldBytes() + communication_.heldBytes() +
                        communicationColours_.capacity() * sizeof(std::uint32_t) +
                        functions_.capacity() * sizeof(ScriptFunction);
    for (const ScriptFunction& function : functions_)
        bytes += static_cast<std::size_t>(function.name.capacity());
    return bytes;
}

QByteArray DiagnosticLog::scriptFunctionName(qsizetype index) const {
    return functions_.at(static_cast<std::size_t>(index)).name;
}

QByteArray DiagnosticLog::scriptFunctionBody(qsizetype index) const noexcept {
    try {
        const BodySource& body = functions_.at(static_cast<std::size_t>(index)).body;
        return body ? body() : QByteArray();
    } catch (...) {
        return {};
    }
}

int DiagnosticLog::addListener(Listener listener) {
    const int id = nextListenerId_++;
    listeners_.emplace(id, std::move(listener));
    return id;
}

void DiagnosticLog::removeListener(int id) {
    listeners_.erase(id);
}
