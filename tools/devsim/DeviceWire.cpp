#include "tools/devsim/DeviceWire.h"

#include <QHostAddress>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <sys/socket.h>

namespace DeviceWire {

qsizetype messageEnd(const QByteArray& input) {
    qsizetype searchFrom = 0;
    if (input.startsWith("<XML") && !input.startsWith("<XML/>")) {
        searchFrom = input.indexOf("</XML>");
        if (searchFrom < 0)
            return -1;
    }
    const qsizetype cr = input.indexOf('\r', searchFrom);
    return cr < 0 ? -1 : cr + 1;
}

MessageKind kindOf(const QByteArray& message, bool loggedIn) {
    if (!loggedIn)
        return MessageKind::Login;
    if (message == "<XML/>")
        return MessageKind::ConfigurationRequest;
    if (message == "?")
        return MessageKind::KeepAlive;
    if (message.startsWith("<XML"))
        return MessageKind::Apply;
    return MessageKind::Other;
}

const char* describe(MessageKind kind) {
    switch (kind) {
    case MessageKind::Login:
        return "the login line";
    case MessageKind::ConfigurationRequest:
        return "the configuration request";
    case MessageKind::KeepAlive:
        return "a keep-alive";
    case MessageKind::Apply:
        return "an apply";
    case MessageKind::Other:
        break;
    }
    return "an unknown command";
}

void reset(QTcpSocket& socket) {
    const qintptr descriptor = socket.socketDescriptor();
    if (descriptor >= 0) {
        const linger abortive{1, 0};
        ::setsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_LINGER, &abortive,
                     sizeof abortive);
    }
    socket.abort();
}

bool listenOnLoopback(QTcpServer& server, const QHostAddress& address, quint16 port,
                      QString& error) {
    if (!address.isLoopback()) {
        error = QStringLiteral("the simulator listens on loopback addresses only");
        return false;
    }
    if (!server.listen(address, port)) {
        error = server.errorString();
        return false;
    }
    return true;
}

} // namespace DeviceWire
