#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class QTcpServer;
class QTcpSocket;

// Speaks the device's side of the link protocol on a loopback address, for tests, the
// demo and development without a device: password prompt, login, the configuration
// block, status answers to keep-alives, and the apply with its confirmation and the
// device's reset (the connection closes).
class DeviceSimulator : public QObject {
    Q_OBJECT

public:
    enum class ApplyAnswer { Reconfigured, PartiallyApplied, Nothing };

    // Ways a device misbehaves, for trying the client against them.
    enum class Fault {
        None,
        NoPrompt,             // connects and never says anything
        PromptWithoutLineEnd, // the password prompt never ends its line
        EndlessLine,          // after the prompt, bytes without a line end, for ever
        Binary,               // random binary bytes in front of the prompt
        CloseInConfiguration, // closes the connection halfway through the configuration
        ResetAfterPassword,   // answers the password with a reset (RST)
        Flood,                // 200 000 short lines before the configuration
        SlowDrip,             // everything one byte every 50 ms
        OversizedBlock,       // a configuration larger than the client's bound
        MalformedBlock,       // a configuration that is not well-formed XML
        DeepBlock,            // a configuration nested 100 000 elements deep
        UndefinedBytes,       // a configuration with bytes Windows-1250 leaves undefined
        DoubleAnswer,         // answers an apply twice
        AnswerThenSilence,    // answers an apply, then neither resets nor answers again
        LateKeepAlive,        // answers each keep-alive just after the client's deadline
    };
    struct FaultName {
        Fault fault;
        const char* name;
        const char* description;
    };
    static const std::vector<FaultName>& faults();

    struct Options {
        // The device configuration as the file holds it; see prepareConfiguration.
        QByteArray configuration;
        QByteArray password = "demo";
        QHostAddress address = QHostAddress::LocalHost;
        // 0 takes any free port.
        quint16 port = 0;
        ApplyAnswer applyAnswer = ApplyAnswer::Reconfigured;
        // Time between the apply answer and the reset that closes the connection.
        int resetDelayMs = 1000;
        // Each connection stops sending this long after it was accepted; negative: never.
        int silentAfterMs = -1;
        // Output leaves in pieces of this many bytes, one per event-loop turn; 0: whole.
        int chunkSize = 0;
        // When set, every apply message is also written to this file.
        QString applyFile;
        // Short lines ("x") sent in front of each configuration, as a misbehaving
        // device floods the link.
        int floodLines = 0;
        Fault fault = Fault::None;
        // Keeps every message received (received()); a long run goes without.
        bool keepReceived = true;
        // LateKeepAlive: how long each keep-alive waits for its answer.
        int lateAnswerMs = 11000;
    };

    // The lines the device sends (without their line end).
    static const QByteArray PasswordPrompt;
    static const QByteArray StatusLine;

    explicit DeviceSimulator(Options options, QObject* parent = nullptr);
    ~DeviceSimulator() override;

    // Listens on the options' address and port; only loopback addresses are accepted.
    // Returns false with errorString() set when it cannot.
    bool listen();
    quint16 port() const;
    QString errorString() const { return errorString_; }

    // The configuration as it goes on the wire: Windows-1250 bytes with CR LF line ends,
    // the device's own declaration in front (added when the text has none), ending with
    // a line end.
    static QByteArray prepareConfiguration(const QByteArray& text);

    // Sends bytes as they are to every connected client (through the chunking).
    void sendRaw(const QByteArray& bytes);
    // From now on nothing more is sent on any connection.
    void fallSilent();
    // New connections and messages from now on misbehave in this way (None: not at all).
    void setFault(Fault fault) { options_.fault = fault; }

    // Every message received, in order, with its "\r".
    const QList<QByteArray>& received() const { return received_; }
    // The last apply message (without its "\r"), or empty.
    const QByteArray& lastApply() const { return lastApply_; }
    int connectionCount() const { return connectionCount_; }
    int openConnections() const;

signals:
    void messageReceived(const QByteArray& message);

private:
    struct Session;

    void accept();
    void readFrom(Session& session);
    void handle(Session& session, const QByteArray& message);
    void apply(Session& session, const QByteArray& message);
    void send(Session& session, const QByteArray& bytes);
    void flushChunk(Session& session);
    void greet(Session& session);
    void sendConfiguration(Session& session);
    void answerKeepAlive(Session& session);
    void resetConnection(Session& session);
    void closeWhenSent(Session& session);
    void forget(QTcpSocket* socket);

    Options options_;
    QTcpServer* server_;
    std::vector<std::unique_ptr<Session>> sessions_;
    QList<QByteArray> received_;
    QByteArray lastApply_;
    QString errorString_;
    int connectionCount_ = 0;
    bool silent_ = false;
};
