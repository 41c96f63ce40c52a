#include "link/ClientSocket.h"

#include "link/LinkTimings.h"
#include "link/SocketErrorCodes.h"
#include "platform/EntryGuard.h"

#include <QNetworkProxy>
#include <QTcpSocket>
#include <algorithm>

// Counts the handlers of this socket that are running (possibly suspended in nested
// loops), and frees a released socket once the last of them has returned.
class ClientSocket::HandlerScope {
public:
    explicit HandlerScope(ClientSocket& socket) : socket_(socket) { ++socket_.runningHandlers_; }
    ~HandlerScope() {
        if (--socket_.runningHandlers_ == 0 && socket_.released_)
            socket_.deleteLater();
    }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

private:
    ClientSocket& socket_;
};

ClientSocket::ClientSocket(QObject* owner) : QObject(owner), socket_(new QTcpSocket(this)) {
    // The link talks to the device directly, never through a proxy from the environment.
    socket_->setProxy(QNetworkProxy::NoProxy);
    connectTimeout_.setSingleShot(true);
    connect(&connectTimeout_, &QTimer::timeout, this, &ClientSocket::connectTimedOut);

    // Qt's signals only queue events; handlers run from deliverNext. That keeps open
    // free of events and lets Qt raise readyRead again while a read handler is suspended.
    connect(socket_, &QTcpSocket::hostFound, this, [this] { queue(EventKind::Connecting); });
    connect(socket_, &QTcpSocket::connected, this, [this] {
        connectTimeout_.stop();
        connected_ = true;
        queue(EventKind::Connect);
    });
    connect(socket_, &QTcpSocket::readyRead, this, [this] {
        received_ += socket_->readAll();
        queueRead();
    });
    connect(socket_, &QTcpSocket::disconnected, this, [this] { queue(EventKind::Disconnect); });
    connect(socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (error == QAbstractSocket::RemoteHostClosedError)
            return; // the disconnected signal that follows reports it
        connectTimeout_.stop();
        queue(EventKind::Error, SocketErrorCodes::fromQt(error));
    });
}

ClientSocket::~ClientSocket() {
    stopListeningToQt();
    socket_->abort();
}

void ClientSocket::open() {
    if (opened_ || released_)
        return;
    opened_ = true;
    if (const auto fault = SocketFaults::faultFor(host_, port_)) {
        playFault(*fault);
        return;
    }
    if (host_.isEmpty()) {
        queue(EventKind::Error, SocketErrorCodes::NoHost);
        return;
    }
    startConnectTimeout();
    socket_->connectToHost(host_, port_);
}

void ClientSocket::playFault(const SocketFaults::Fault& fault) {
    if (fault.stage == SocketFaults::Fault::Stage::Lookup) {
        queue(EventKind::Error, fault.code);
        return;
    }
    queue(EventKind::Connecting);
    if (fault.stage == SocketFaults::Fault::Stage::Conversation) {
        connected_ = true;
        queue(EventKind::Connect);
        piecesToPlay_ = fault.pieces;
        QMetaObject::invokeMethod(this, &ClientSocket::playNextPiece, Qt::QueuedConnection);
        return;
    }
    if (fault.code != 0)
        queue(EventKind::Error, fault.code);
    else
        startConnectTimeout();
}

void ClientSocket::playNextPiece() {
    if (released_)
        return;
    if (piecesToPlay_.isEmpty()) {
        queue(EventKind::Disconnect);
        return;
    }
    received_ += piecesToPlay_.takeFirst();
    queueRead();
    QMetaObject::invokeMethod(this, &ClientSocket::playNextPiece, Qt::QueuedConnection);
}

void ClientSocket::startConnectTimeout() {
    connectTimeout_.start(LinkTimings::current().socketConnectTimeoutMs);
}

void ClientSocket::connectTimedOut() {
    if (connected_ || released_)
        return;
    stopListeningToQt();
    socket_->abort();
    queue(EventKind::Error, SocketErrorCodes::TimedOut);
}

void ClientSocket::stopListeningToQt() {
    connectTimeout_.stop();
    socket_->disconnect(this);
}

void ClientSocket::close() {
    if (!active_)
        return;
    active_ = false;
    queued_.clear();
    received_.clear();
    piecesToPlay_.clear();
    ended_ = true;
    closedHere_ = true;
    // Qt reports its own disconnection only once unsent output has left; the program
    // needs it now, so Qt's late one is ignored.
    stopListeningToQt();
    socket_->disconnectFromHost();
    raise(onDisconnect);
}

void ClientSocket::release() {
    if (released_)
        return;
    released_ = true;
    active_ = false;
    queued_.clear();
    received_.clear();
    stopListeningToQt();
    socket_->abort();
    if (runningHandlers_ == 0)
        deleteLater();
}

QByteArray ClientSocket::receiveText() {
    return std::exchange(received_, QByteArray());
}

void ClientSocket::readAgainSoon() {
    if (released_ || !active_)
        return;
    queued_.push_front({EventKind::ReadAgain});
    postDelivery();
}

void ClientSocket::sendText(const QByteArray& text) {
    if (released_ || !active_ || socket_->state() != QAbstractSocket::ConnectedState)
        return;
    if (onSend)
        onSend(text);
    socket_->write(text);
}

void ClientSocket::queue(EventKind kind, int errorCode) {
    if (released_)
        return;
    queued_.push_back({kind, errorCode});
    postDelivery();
}

void ClientSocket::queueRead() {
    // One pending read event covers all data that has arrived; its handler takes it all.
    const bool readPending = std::any_of(queued_.begin(), queued_.end(), [](const QueuedEvent& e) {
        return e.kind == EventKind::Read || e.kind == EventKind::ReadAgain;
    });
    if (!readPending)
        queue(EventKind::Read);
}

void ClientSocket::postDelivery() {
    if (deliveryPosted_)
        return;
    deliveryPosted_ = true;
    QMetaObject::invokeMethod(this, &ClientSocket::deliverNext, Qt::QueuedConnection);
}

void ClientSocket::deliverNext() {
    deliveryPosted_ = false;
    if (queued_.empty())
        return;
    const QueuedEvent event = queued_.front();
    queued_.pop_front();
    // The handler may run a nested loop: the events behind this one must still arrive.
    if (!queued_.empty())
        postDelivery();
    EntryGuard::guardEntry([&] { deliver(event); });
}

void ClientSocket::deliver(const QueuedEvent& event) {
    switch (event.kind) {
    case EventKind::Connecting:
        raise(onConnecting);
        break;
    case EventKind::Connect:
        active_ = true;
        raise(onConnect);
        break;
    case EventKind::Read:
        // A nested read handler may already have taken everything.
        if (active_ && !received_.isEmpty())
            raise(onRead);
        break;
    case EventKind::ReadAgain:
        if (active_)
            raise(onRead);
        break;
    case EventKind::Disconnect:
        if (!active_)
            return;
        active_ = false;
        ended_ = true;
        raise(onDisconnect);
        break;
    case EventKind::Error: {
        HandlerScope scope(*this);
        // Without a connection no disconnection follows: this is the attempt's last word.
        if (!connected_)
            ended_ = true;
        int errorCode = event.errorCode;
        if (onError)
            onError(*this, errorCode);
        break;
    }
    }
}

void ClientSocket::raise(const Event& handler) {
    HandlerScope scope(*this);
    if (handler)
        handler(*this);
}
