#include "tools/devsim/DeviceSimulator.h"
#include "tools/devsim/DeviceWire.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <cstdint>

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

} // namespace

const std::vector<DeviceSimulator::FaultName>& DeviceSimulator::faults() {
    using F = Fault;
    static const std::vector<FaultName> names{
        {F::NoPrompt, "no-prompt", "connects and never says anything"},
        {F::PromptWithoutLineEnd, "prompt-without-line-end", "the password prompt never ends"},
        {F::EndlessLine, "endless-line", "after the prompt, bytes without a line end, for ever"},
        {F::Binary, "binary", "random binary bytes in front of the prompt"},
        {F::CloseInConfiguration, "close-in-configuration",
         "closes the connection halfway through the configuration"},
        {F::ResetAfterPassword, "reset-after-password", "answers the password with a reset (RST)"},
        {F::Flood, "flood", "200 000 short lines before the configuration"},
        {F::SlowDrip, "slow-drip", "sends everything one byte every 50 ms"},
        {F::OversizedBlock, "oversized-block", "a configuration larger than the client's bound"},
        {F::MalformedBlock, "malformed-block", "a configuration that is not well-formed XML"},
        {F::DeepBlock, "deep-block", "a configuration nested 100 000 elements deep"},
        {F::UndefinedBytes, "undefined-bytes",
         "a configuration with bytes that Windows-1250 leaves undefined"},
        {F::DoubleAnswer, "double-answer", "answers an apply twice"},
        {F::AnswerThenSilence, "answer-then-silence",
         "answers an apply, then neither resets nor answers again"},
        {F::LateKeepAlive, "late-keep-alive", "answers each keep-alive just after the deadline"},
    };
    return names;
}

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
    QTimer endlessTimer;
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
    return DeviceWire::listenOnLoopback(*server_, options_.address, options_.port, errorString_);
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
        if (options_.fault == Fault::SlowDrip)
            options_.chunkSize = 1;
        greet(s);
    }
}

void DeviceSimulator::readFrom(Session& session) {
    session.input += session.socket->readAll();
    for (qsizetype end = DeviceWire::messageEnd(session.input); end > 0;
         end = DeviceWire::messageEnd(session.input)) {
        const QByteArray message = session.input.left(end);
        session.input.remove(0, end);
        if (options_.keepReceived)
            received_.append(message);
        handle(session, message.chopped(1));
        emit messageReceived(message);
    }
}

void DeviceSimulator::handle(Session& session, const QByteArray& message) {
    if (session.closeAfterOutput)
        return; // the device is resetting or has refused the login
    if (options_.fault == Fault::EndlessLine)
        return; // it only ever sends its one endless line
    using Kind = DeviceWire::MessageKind;
    switch (DeviceWire::kindOf(message, session.loggedIn)) {
    case Kind::Login:
        if (options_.fault == Fault::ResetAfterPassword) {
            resetConnection(session);
            return;
        }
        if (message == "S" + options_.password) {
            session.loggedIn = true;
            send(session, "S >" + LineEnd);
        } else {
            send(session, "E >" + LineEnd);
            closeWhenSent(session);
        }
        return;
    case Kind::ConfigurationRequest:
        sendConfiguration(session);
        return;
    case Kind::KeepAlive:
        answerKeepAlive(session);
        return;
    case Kind::Apply:
        apply(session, message);
        return;
    case Kind::Other:
        send(session, "NEZNAMY PRIKAZ" + LineEnd);
    }
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
    if (options_.fault == Fault::DoubleAnswer)
        send(session, answerTo(options_.applyAnswer));
    if (options_.fault == Fault::AnswerThenSilence) {
        session.silent = true;
        return;
    }
    session.resetTimer.start(std::max(0, options_.resetDelayMs));
}

void DeviceSimulator::sendConfiguration(Session& session) {
    const QByteArray& configuration = options_.configuration;
    const int floodLines = options_.fault == Fault::Flood ? 200000 : options_.floodLines;
    const QByteArray flood = QByteArray("x" + LineEnd).repeated(floodLines);
    switch (options_.fault) {
    case Fault::CloseInConfiguration:
        send(session, configuration.left(configuration.size() / 2));
        closeWhenSent(session);
        return;
    case Fault::OversizedBlock:
        // 17 MiB of elements in a block that has not ended by then.
        send(session, Declaration + LineEnd + "<XML>" + LineEnd +
                          QByteArray("<R a=\"0123456789\"/>" + LineEnd).repeated(17 << 16));
        return;
    case Fault::MalformedBlock:
        send(session, Declaration + LineEnd + "<XML>" + LineEnd +
                          "<DEVICE type=\"DEMO-485\" version=\"1.0\"><NET ip=\"1\"></DEVICE>" +
                          LineEnd + "</XML>" + LineEnd);
        return;
    case Fault::DeepBlock:
        send(session, Declaration + LineEnd + "<XML>" + QByteArray("<a>").repeated(100000) +
                          QByteArray("</a>").repeated(100000) + "</XML>" + LineEnd);
        return;
    case Fault::UndefinedBytes: {
        QByteArray spoiled = configuration;
        const qsizetype at = spoiled.indexOf("<DEVICE");
        spoiled.insert(at < 0 ? 0 : at, "<INFO note=\"\x81\x83\x88\x90\x98\"/>" + LineEnd);
        send(session, spoiled);
        return;
    }
    default:
        send(session, flood + configuration);
    }
}

void DeviceSimulator::answerKeepAlive(Session& session) {
    if (options_.fault != Fault::LateKeepAlive) {
        send(session, StatusLine + LineEnd);
        return;
    }
    QTimer::singleShot(options_.lateAnswerMs, session.socket.get(), [this, socket = session.socket.get()] {
        for (const auto& s : sessions_) {
            if (s->socket.get() == socket)
                send(*s, StatusLine + LineEnd);
        }
    });
}

void DeviceSimulator::resetConnection(Session& session) {
    session.closeAfterOutput = true;
    DeviceWire::reset(*session.socket);
}

void DeviceSimulator::greet(Session& session) {
    switch (options_.fault) {
    case Fault::NoPrompt:
        return;
    case Fault::PromptWithoutLineEnd:
        send(session, PasswordPrompt);
        return;
    case Fault::Binary: {
        QByteArray noise(4096, Qt::Uninitialized);
        std::uint32_t state = 2463534242u; // the same noise every time
        for (char& byte : noise) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            byte = static_cast<char>(state);
        }
        send(session, noise + PasswordPrompt + LineEnd);
        return;
    }
    case Fault::EndlessLine:
        send(session, PasswordPrompt + LineEnd);
        connect(&session.endlessTimer, &QTimer::timeout, this,
                [this, &session] {
                    // As fast as the client takes them, not faster than memory allows.
                    if (session.socket->bytesToWrite() < (1 << 20))
                        send(session, QByteArray(64 * 1024, 'A'));
                });
        session.endlessTimer.start(0);
        return;
    default:
        send(session, PasswordPrompt + LineEnd);
    }
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
        session.chunkTimer.start(options_.fault == Fault::SlowDrip ? 50 : 0);
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
