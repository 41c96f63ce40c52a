#pragma once

#include "link/ClientSocket.h"
#include "link/LinkSignals.h"
#include "link/ReceiveBuffer.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTimer>

class ConfigurationHistory;
class SessionRecording;
class LinkHost;

// The device link of the main window: the connect procedure, the socket's event
// handlers with the receive handler that speaks the device's protocol, the keep-alive
// and the cancel of the wait dialog. It reaches the rest of the application only
// through its LinkHost. Everything runs on the GUI thread; every handler tolerates
// being entered while another one is suspended in a nested loop.
class DeviceLink : public QObject {
    Q_OBJECT

public:
    static constexpr quint16 DefaultPort = 9999;
    // The application-wide hourglass cursor.
    static constexpr int crHourGlass = -11;
    // LogComm colours ($00BBGGRR).
    static constexpr quint32 DarkGreen = 0x008000;
    static constexpr quint32 DarkRed = 0x000080;
    // A device that sends more than this without completing a line or a block is
    // dropped, so a faulty device cannot make the receive buffer grow without end.
    static constexpr qsizetype MaxPendingInput = 16 * 1024 * 1024;
    // What one call of the receive handler handles at most before the message loop
    // gets a turn: lines (a configuration block counts as one), or milliseconds.
    static constexpr int LinesPerSlice = 5000;
    static constexpr int SliceMs = 20;
    // Where each received configuration is stored, in the working directory.
    static constexpr const char* StoredConfigurationFile = "temp.xm~";

    explicit DeviceLink(LinkHost& host, QObject* parent = nullptr);
    ~DeviceLink() override;

    // The port bConnectClick connects to (the command line may change it).
    void setPort(quint16 port) { port_ = port; }
    quint16 port() const { return port_; }

    LinkSignals& linkSignals() { return signals_; }
    // Where each configuration received is kept as well; none by default.
    void setHistory(ConfigurationHistory* history) { history_ = history; }
    // Where every byte of the device connections is recorded as well, from the next
    // connection attempt on; none by default. A connection in progress stops being
    // recorded at once when the recording is taken away or replaced.
    void setRecording(SessionRecording* recording);
    // ClientSocket: the socket of the latest attempt, or null.
    ClientSocket* clientSocket() const { return clientSocket_; }
    // Link: the connection the keep-alive and ApplySettings send through, or null.
    ClientSocket* link() const { return link_; }
    // Link is set and its connection is up. A failed attempt, an error or "Zrušit" can
    // leave Link pointing at a socket that no longer connects anything.
    bool connected() const { return link_ && link_->active(); }
    bool keepAliveRunning() const { return timer1_.isActive(); }

    // "Připojit", and the reconnection after an apply: connects and waits for the link.
    void bConnectClick();
    // "Zrušit" of the wait dialog.
    void CancelConnect();

    void ClientSocketConnecting(ClientSocket& socket);
    void ClientSocketConnect(ClientSocket& socket);
    void ClientSocketDisconnect(ClientSocket& socket);
    void ClientSocketError(ClientSocket& socket, int& errorCode);
    void ClientSocketRead(ClientSocket& socket);
    // The receive handler stopped after a slice, with lines left for a later turn
    // of the message loop.
    bool linesLeftForLater() const { return linesLeftForLater_; }
    void Timer1Timer();

    // The operator's text for a socket error code.
    static QString socketErrorText(int errorCode);

private:
    void waitForConnection();
    void takeBlock(ClientSocket& socket, qsizetype start, qsizetype end);
    void dropUnopenedBlockEnd(qsizetype end);
    void removeDeviceDeclaration();
    void takeLine(ClientSocket& socket);
    void dropOverlongInput(ClientSocket& socket);
    void handleWrongPassword();

    LinkHost& host_;
    ConfigurationHistory* history_ = nullptr;
    SessionRecording* recording_ = nullptr;
    // The recording the current attempt writes to: recording_ as it was at its start.
    SessionRecording* attemptRecording_ = nullptr;
    LinkSignals signals_;
    QPointer<ClientSocket> clientSocket_;
    QPointer<ClientSocket> link_;
    QTimer timer1_;
    bool linesLeftForLater_ = false;
    ReceiveBuffer rxBuffer_;
    quint16 port_ = DefaultPort;
    bool keepAliveMessageOpen_ = false;
};
