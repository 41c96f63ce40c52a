#include "tools/devsim/SessionReplay.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <cmath>

using Step = RecordedSession::Step;
using MessageKind = DeviceWire::MessageKind;

// One accepted connection and the recorded connection it plays.
class SessionReplay::Player : public QObject {
public:
    Player(QTcpSocket* socket, const RecordedSession::Connection& recorded, int number,
           double speed, SessionReplay& replay)
        : socket_(socket), recorded_(recorded), number_(number), speed_(speed), replay_(replay) {
        socket_->setParent(this);
        pacing_.setSingleShot(true);
        connect(&pacing_, &QTimer::timeout, this, [this] {
            performDeviceStep();
            advance();
        });
        connect(socket_, &QTcpSocket::readyRead, this, [this] { read(); });
        connect(socket_, &QTcpSocket::disconnected, this, [this] { clientClosed(); });
    }

    // The socket goes with the player and may still report its end then, when the
    // rest of the player is gone.
    ~Player() override { socket_->disconnect(this); }

    // Over, and nothing of it left on the wire.
    bool finished() const { return socket_->state() == QAbstractSocket::UnconnectedState; }

    void start() { advance(); }

private:
    const Step* current() const {
        return next_ < recorded_.steps.size() ? &recorded_.steps[next_] : nullptr;
    }

    void say(const QString& text) const {
        replay_.report_(QStringLiteral("connection %1: %2").arg(number_).arg(text));
    }

    void read() {
        input_ += socket_->readAll();
        for (qsizetype end = DeviceWire::messageEnd(input_); end > 0;
             end = DeviceWire::messageEnd(input_)) {
            const QByteArray message = input_.left(end);
            input_.remove(0, end);
            waiting_.push_back(DeviceWire::kindOf(message.chopped(1), loggedIn_));
            loggedIn_ = true;
            emit replay_.messageReceived(message);
        }
        advance();
    }

    // Plays on until the recording waits for the client, for its pacing or has ended.
    void advance() {
        while (!ended_ && !pacing_.isActive()) {
            const Step* step = current();
            if (!step || step->kind == Step::Kind::ClientCloses) {
                // Whatever the client sends now, the recording does not have; the
                // client ends the connection, as it did when recorded.
                while (!waiting_.empty())
                    answerUnrecorded(takeWaiting(), QStringLiteral("after the end of its recording"));
                return;
            }
            if (step->kind == Step::Kind::ClientSends) {
                if (waiting_.empty())
                    return;
                match(takeWaiting());
                continue;
            }
            const qint64 delay = pause(*step);
            if (delay > 0) {
                pacing_.start(static_cast<int>(std::min<qint64>(delay, 24 * 3600 * 1000)));
                return;
            }
            performDeviceStep();
        }
    }

    qint64 pause(const Step& step) const {
        if (speed_ <= 0)
            return 0;
        return std::llround(static_cast<double>(step.t - lastT_) / speed_);
    }

    MessageKind takeWaiting() {
        const MessageKind kind = waiting_.front();
        waiting_.erase(waiting_.begin());
        return kind;
    }

    void performDeviceStep() {
        const Step& step = recorded_.steps[next_++];
        lastT_ = step.t;
        switch (step.kind) {
        case Step::Kind::DeviceSends:
            socket_->write(step.bytes);
            socket_->flush();
            break;
        case Step::Kind::DeviceCloses:
            ended_ = true;
            socket_->disconnectFromHost();
            break;
        case Step::Kind::DeviceResets:
            ended_ = true;
            DeviceWire::reset(*socket_);
            break;
        case Step::Kind::ClientSends:
        case Step::Kind::ClientCloses:
            break;
        }
    }

    // The recording expects a client message here; `kind` is what came.
    void match(MessageKind kind) {
        const Step& expected = recorded_.steps[next_];
        if (expected.message != kind) {
            const std::size_t later = findFrom(next_ + 1, kind);
            if (later == recorded_.steps.size()) {
                answerUnrecorded(kind, QStringLiteral("where line %1 of the recording has %2")
                                           .arg(expected.line)
                                           .arg(QLatin1String(describe(expected.message))));
                return;
            }
            say(QStringLiteral("the client sent %1 where line %2 of the recording has %3; "
                               "going on from line %4")
                    .arg(QLatin1String(describe(kind)))
                    .arg(expected.line)
                    .arg(QLatin1String(describe(expected.message)))
                    .arg(recorded_.steps[later].line));
            next_ = later;
        }
        lastT_ = recorded_.steps[next_].t;
        ++next_;
    }

    std::size_t findFrom(std::size_t from, MessageKind kind) const {
        for (std::size_t i = from; i < recorded_.steps.size(); ++i) {
            const Step& step = recorded_.steps[i];
            if (step.kind == Step::Kind::ClientSends && step.message == kind)
                return i;
        }
        return recorded_.steps.size();
    }

    // A message the recording does not have: answered as the last recorded one of its
    // kind was (a device answers every keep-alive), or not at all.
    void answerUnrecorded(MessageKind kind, const QString& where) {
        std::size_t earlier = recorded_.steps.size();
        for (std::size_t i = 0; i < std::min(next_, recorded_.steps.size()); ++i) {
            const Step& step = recorded_.steps[i];
            if (step.kind == Step::Kind::ClientSends && step.message == kind)
                earlier = i;
        }
        if (earlier == recorded_.steps.size()) {
            say(QStringLiteral("the client sent %1 %2; the recording has no answer to it")
                    .arg(QLatin1String(describe(kind)), where));
            return;
        }
        say(QStringLiteral("the client sent %1 %2; answered as at line %3")
                .arg(QLatin1String(describe(kind)), where)
                .arg(recorded_.steps[earlier].line));
        for (std::size_t i = earlier + 1; i < recorded_.steps.size() &&
                                          recorded_.steps[i].kind == Step::Kind::DeviceSends;
             ++i)
            socket_->write(recorded_.steps[i].bytes);
    }

    void clientClosed() {
        if (!ended_) {
            const Step* step = current();
            if (step && step->kind != Step::Kind::ClientCloses)
                say(QStringLiteral("the client closed the connection where line %1 of the "
                                   "recording goes on")
                        .arg(step->line));
        }
        ended_ = true;
        pacing_.stop();
    }

    QTcpSocket* socket_;
    const RecordedSession::Connection& recorded_;
    const int number_;
    const double speed_;
    SessionReplay& replay_;
    QTimer pacing_;
    QByteArray input_;
    std::vector<MessageKind> waiting_;
    std::size_t next_ = 0;
    qint64 lastT_ = 0;
    bool loggedIn_ = false;
    bool ended_ = false;
};

SessionReplay::SessionReplay(RecordedSession session, Options options, Report report,
                             QObject* parent)
    : QObject(parent), session_(std::move(session)), options_(options),
      report_(std::move(report)), server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::newConnection, this, &SessionReplay::accept);
}

SessionReplay::~SessionReplay() = default;

bool SessionReplay::listen() {
    return DeviceWire::listenOnLoopback(*server_, options_.address, options_.port, errorString_);
}

quint16 SessionReplay::port() const {
    return server_->serverPort();
}

void SessionReplay::accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        const int number = ++accepted_;
        std::erase_if(players_, [](const auto& player) { return player->finished(); });
        if (static_cast<std::size_t>(number) > session_.connections.size()) {
            report_(QStringLiteral("connection %1: the recording has only %2; closed")
                        .arg(number)
                        .arg(session_.connections.size()));
            socket->disconnectFromHost();
            continue;
        }
        players_.push_back(std::make_unique<Player>(
            socket, session_.connections[static_cast<std::size_t>(number - 1)], number,
            options_.speed, *this));
        players_.back()->start();
    }
}
