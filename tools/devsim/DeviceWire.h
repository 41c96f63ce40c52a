#pragma once

#include <QByteArray>

class QHostAddress;
class QString;
class QTcpServer;
class QTcpSocket;

// What the simulator and the replay of a recording both need from the wire: where a
// client's message ends, what kind of message it is, and the device's reset.
namespace DeviceWire {

// Where the next complete message ends (just after its "\r"), or -1. An apply message
// is a whole configuration block, which may hold line ends of its own.
qsizetype messageEnd(const QByteArray& input);

enum class MessageKind { Login, ConfigurationRequest, KeepAlive, Apply, Other };

// A client's message (without its "\r") by what it asks for. The first message of a
// connection is the login line whatever it holds; `loggedIn` tells which this is.
MessageKind kindOf(const QByteArray& message, bool loggedIn);

// The kind in words, for reports: "the login line", "a keep-alive", ...
const char* describe(MessageKind kind);

// A reset rather than an orderly close: the system discards the connection at once
// and the client's next read or write fails.
void reset(QTcpSocket& socket);

// Starts the server listening, on a loopback address only: nothing the simulator or a
// replay says may reach a real network. False with `error` set when it cannot.
bool listenOnLoopback(QTcpServer& server, const QHostAddress& address, quint16 port,
                      QString& error);

} // namespace DeviceWire
