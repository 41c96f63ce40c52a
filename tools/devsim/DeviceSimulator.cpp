#include "tools/devsim/DeviceSimulator.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

namespace {

const QByteArray LineEnd = QByteArrayLiteral("\r\n");
const QByteArray Declaration =
    QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"windows-1250\"?>");

QByteArray answerTo(DeviceSimulator::ApplyAnswer answer) {
    switch (answer) {
    case DeviceSimulator::ApplyAnswer::Reconfigured:
        return QByteArrayLiteral("<!--Prevodnik prenastaven-->\r\n");
    case DeviceSimulator::ApplyAnswer::PartiallyApplied:
        return QByteArrayLiteral("<!--Vsechna prenastaveni nebyla provedena-->\r\n");
    case DeviceSimulator::ApplyAnswer::Nothing:
        break;
    }
    return {};
}

// Where the next complete message ends (just after its "\r"), or -1. An apply message
// is a whole configuration block, which may hold line ends of its own.
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

} // namespace

const QByteArray DeviceSimulator::PasswordPrompt = QByteArrayLiteral("Zadejte heslo: S*****");
// Holds none of the markers the client reacts to.
const QByteArray DeviceSimulator::StatusLine = QByteArrayLiteral("STAV: v provozu");

struct DeviceSimulator::Session {
    std::unique_ptr<QTcpSocket> socket;
    QByteArray input;
    QByteArray output;
    bool loggedIn = false;
    bool silent = false;
    bool closeAfterOutput = false;
    QTimer chunkTimer;
    QTimer silenceTimer;
    QTimer resetTimer;
};

DeviceSimulator::DeviceSimulator(Options options, QObject* parent)
    : QObject(parent), options_(std::move(options)), server_(new QTcpServer(this)) {
    options_.configuration = prepareConfiguration(options_.configuration);
    connect(server_, &QTcpServer::newConnection, this, &DeviceSimulator::accept);
}

DeviceSimulator::~DeviceSimulator() = default;

bool DeviceSimulator::listen() {
    if (!options_.address.isLoopback()) {
        errorString_ = QStringLiteral("the simulator listens on loopback addresses only");
        return false;
    }
    if (!server_->listen(options_.address, options_.port)) {
        errorString_ = server_->errorString();
        return false;
    }
    return true;
}

quint16 DeviceSimulator::port() const {
    return server_->serverPort();
}

QByteArray DeviceSimulator::prepareConfiguration(const QByteArray& text) {
    QByteArray wire = text;
    wire.replace(LineEnd, "\n");
    wire.replace('\r', '\n');
    wire.replace("\n", LineEnd);
    if (!wire.startsWith("<?xml"))
        wire.prepend(Declaration + LineEnd);
    if (!wire.endsWith(LineEnd))
        wire.append(LineEnd);
    return wire;
}

int DeviceSimulator::openConnections() const {
    return static_cast<int>(std::count_if(sessions_.begin(), sessions_.end(), [](const auto& s) {
        return s->socket->state() == QAbstractSocket::ConnectedState;
    }));
}

void DeviceSimulator::sendRaw(const QByteArray& bytes) {
    for (const auto& session : sessions_)
        send(*session, bytes);
}

void DeviceSimulator::fallSilent() {
    silent_ = true;
}

void DeviceSimulator::accept() {
    while (QTcpSocket* pending = server_->nextPendingConnection()) {
        ++connectionCount_;
        pending->setParent(nullptr);
        auto session = std::make_unique<Session>();
        session->socket.reset(pending);
        Session& s = *session;
        sessions_.push_back(std::move(session));

        connect(pending, &QTcpSocket::readyRead, this, [this, &s] { readFrom(s); });
        connect(pending, &QTcpSocket::disconnected, this, [this, pending] { forget(pending); });
        connect(&s.chunkTimer, &QTimer::timeout, this, [this, &s] { flushChunk(s); });
        s.resetTimer.setSingleShot(true);
        connect(&s.resetTimer, &QTimer::timeout, this, [this, &s] { closeWhenSent(s); });
        s.silent = options_.silentAfterMs == 0;
        if (options_.silentAfterMs > 0) {
            s.silenceTimer.setSingleShot(true);
            connect(&s.silenceTimer, &QTimer::timeout, this, [&s] { s.silent = true; });
            s.silenceTimer.start(options_.silentAfterMs);
        }
        send(s, PasswordPrompt + LineEnd);
    }
}

void DeviceSimulator::readFrom(Session& session) {
    session.input += session.socket->readAll();
    for (qsizetype end = messageEnd(session.input); end > 0; end = messageEnd(session.input)) {
        const QByteArray message = session.input.left(end);
        session.input.remove(0, end);
        received_.append(message);
        handle(session, message.chopped(1));
        emit messageReceived(message);
    }
}

void DeviceSimulator::handle(Session& session, const QByteArray& message) {
    if (session.closeAfterOutput)
        return; // the device is resetting or has refused the login
    if (!session.loggedIn) {
        if (message == "S" + options_.password) {
            session.loggedIn = true;
            send(session, "S >" + LineEnd);
        } else {
            send(session, "E >" + LineEnd);
            closeWhenSent(session);
        }
        return;
    }
    if (message == "<XML/>")
        send(session, QByteArray("x" + LineEnd).repeated(options_.floodLines) +
                          options_.configuration);
    else if (message == "?")
        send(session, StatusLine + LineEnd);
    else if (message.startsWith("<XML"))
        apply(session, message);
    else
        send(session, "NEZNAMY PRIKAZ" + LineEnd);
}

void DeviceSimulator::apply(Session& session, const QByteArray& message) {
    lastApply_ = message;
    if (!options_.applyFile.isEmpty()) {
        QFile file(options_.applyFile);
        if (file.open(QIODevice::WriteOnly))
            file.write(message);
    }
    // The device resets with the new parameters and serves them from then on.
    options_.configuration = prepareConfiguration(message);
    send(session, answerTo(options_.applyAnswer));
    session.resetTimer.start(std::max(0, options_.resetDelayMs));
}

void DeviceSimulator::send(Session& session, const QByteArray& bytes) {
    if (silent_ || session.silent || bytes.isEmpty())
        return;
    if (options_.chunkSize <= 0) {
        session.socket->write(bytes);
        return;
    }
    session.output += bytes;
    if (!session.chunkTimer.isActive())
        session.chunkTimer.start(0);
}

void DeviceSimulator::flushChunk(Session& session) {
    session.socket->write(session.output.left(options_.chunkSize));
    session.socket->flush();
    session.output.remove(0, std::min<qsizetype>(options_.chunkSize, session.output.size()));
    if (!session.output.isEmpty())
        return;
    session.chunkTimer.stop();
    if (session.closeAfterOutput)
        session.socket->disconnectFromHost();
}

void DeviceSimulator::closeWhenSent(Session& session) {
    session.closeAfterOutput = true;
    // Qt sends what it has buffered before it closes.
    if (session.output.isEmpty())
        session.socket->disconnectFromHost();
}

// A closed connection's session goes once the handlers on the stack have returned.
void DeviceSimulator::forget(QTcpSocket* socket) {
    QMetaObject::invokeMethod(
        this,
        [this, socket] {
            std::erase_if(sessions_, [socket](const auto& s) { return s->socket.get() == socket; });
        },
        Qt::QueuedConnection);
}
