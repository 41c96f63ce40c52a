#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>

// Test seam of the client socket: lets tests and demos make an attempt fail (or hang),
// or play a device's side of a conversation, without any real traffic or name
// look-up. When an injector is installed and returns a fault for the host and port
// being opened, the socket plays that fault instead of touching the network.
namespace SocketFaults {

struct Fault {
    enum class Stage {
        // The host look-up fails: an error event, no connecting event.
        Lookup,
        // The look-up succeeds (connecting event), then the connection fails.
        Connect,
        // The connection opens; `pieces` arrive, each as its own read, one turn of
        // the message loop apart; then the device closes the connection. What the
        // client sends goes nowhere.
        Conversation,
    };
    Stage stage = Stage::Lookup;
    // The Windows Sockets code of the error event. At the connect stage, 0 means the
    // attempt never completes, so only the socket's own time-out or a cancel ends it.
    int code = 0;
    QList<QByteArray> pieces = {};
};

using Injector = std::function<std::optional<Fault>(const QString& host, quint16 port)>;

// Installs the injector (an empty one removes it) and returns the previous one.
Injector setInjector(Injector injector);

// The fault to play for an attempt, if any.
std::optional<Fault> faultFor(const QString& host, quint16 port);

} // namespace SocketFaults
