#pragma once

#include "link/SocketFaults.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>

class QTcpSocket;

// The device link's non-blocking client socket: one connection attempt over
// QTcpSocket, reporting through events that the message loop delivers. The socket is
// also its own connection object (the one the events carry and the link sends through).
//
// What the program relies on, and where Qt behaves differently:
// - open starts the attempt and returns at once; no event is raised while it runs.
//   Every event is queued and delivered later from the message loop, in the order
//   things happened.
// - Events: connecting (host looked up, just before the TCP connection is started),
//   connect, read, disconnect, error (with a Windows Sockets code, see
//   SocketErrorCodes.h). A peer's normal close is a disconnection, never an error.
// - A read event is raised for data that arrives while an earlier read handler is
//   still suspended in a nested message loop (for example a modal sheet window).
// - active() is true from just before the connect event until just before the
//   disconnect event.
// - close(): when active, disconnects and raises the disconnect event before it
//   returns (an error that handler raises travels on to the caller); otherwise, also
//   during an attempt that has not connected yet, it does nothing.
// - release(): ends the connection, if any, and raises no event at all. The object
//   frees itself once no handler of its own is running any more; until then sends
//   are dropped.
// - The attempt gives up after the socket's own connect time-out with code 10060.
// Errors raised by handlers of events that Qt caused go to the application's error
// reporter (EntryGuard).
class ClientSocket : public QObject {
    Q_OBJECT

public:
    using Event = std::function<void(ClientSocket& socket)>;
    using ErrorEvent = std::function<void(ClientSocket& socket, int& errorCode)>;

    explicit ClientSocket(QObject* owner = nullptr);
    ~ClientSocket() override;

    Event onConnecting;
    Event onConnect;
    Event onRead;
    Event onDisconnect;
    ErrorEvent onError;
    // Told of the bytes of every send that goes out (not an event: called at once).
    std::function<void(const QByteArray& bytes)> onSend;

    // A dotted IPv4 address or a host name (looked up without blocking).
    void setHost(const QString& host) { host_ = host; }
    const QString& host() const { return host_; }
    void setPort(quint16 port) { port_ = port; }
    quint16 port() const { return port_; }

    void open();
    void close();
    void release();
    bool active() const { return active_; }
    bool released() const { return released_; }
    // The attempt is over and has told its last event: its connection ended, or it
    // failed without ever connecting.
    bool ended() const { return ended_; }
    // The connection ended because the program closed it, not the device.
    bool closedHere() const { return closedHere_; }

    // The connection object's side.
    qsizetype receiveLength() const { return received_.size(); }
    // Takes every waiting byte.
    QByteArray receiveText();
    // For a read handler that leaves part of what it took for later: once the
    // message loop has had a turn, the read event comes again, ahead of the events
    // queued meanwhile, also when no byte has arrived since.
    void readAgainSoon();
    // Sends the bytes, completing partial sends in the background; sends nothing when
    // the connection is not open. Failures arrive through the error event.
    void sendText(const QByteArray& text);

private:
    enum class EventKind { Connecting, Connect, Read, ReadAgain, Disconnect, Error };
    struct QueuedEvent {
        EventKind kind;
        int errorCode = 0;
    };
    class HandlerScope;

    void playFault(const SocketFaults::Fault& fault);
    void playNextPiece();
    void startConnectTimeout();
    void connectTimedOut();
    void stopListeningToQt();
    void queue(EventKind kind, int errorCode = 0);
    void queueRead();
    void postDelivery();
    void deliverNext();
    void deliver(const QueuedEvent& event);
    void raise(const Event& handler);

    QTcpSocket* socket_;
    QTimer connectTimeout_;
    QString host_;
    quint16 port_ = 0;
    bool opened_ = false;
    bool connected_ = false;
    bool ended_ = false;
    bool closedHere_ = false;
    QList<QByteArray> piecesToPlay_;
    bool active_ = false;
    bool released_ = false;
    bool deliveryPosted_ = false;
    int runningHandlers_ = 0;
    QByteArray received_;
    std::deque<QueuedEvent> queued_;
};
