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
