#include "link/DeviceLink.h"

#include "link/LinkHost.h"
#include "link/LinkTimings.h"
#include "link/SessionRecording.h"
#include "link/SocketErrorCodes.h"
#include "platform/EntryGuard.h"
#include "platform/Error.h"
#include "platform/Win1250.h"

#include <QElapsedTimer>
#include <QScopedValueRollback>

DeviceLink::DeviceLink(LinkHost& host, QObject* parent) : QObject(parent), host_(host) {
    connect(&timer1_, &QTimer::timeout, this,
            [this] { EntryGuard::guardEntry([this] { Timer1Timer(); }); });
}

// The sockets of every attempt are children of the link and go with it.
DeviceLink::~DeviceLink() = default;

QString DeviceLink::socketErrorText(int errorCode) {
    switch (errorCode) {
    case SocketErrorCodes::TimedOut:
        return QStringLiteral("Chyba komunikace - Zadaná IP adresa není dostupná.");
    case SocketErrorCodes::ConnectionRefused:
        return QStringLiteral("Chyba komunikace - Spojení bylo aktivně odmítnuto.");
    case SocketErrorCodes::HostNotFound:
        return QStringLiteral("Chyba komunikace - Neplatná adresa IP!");
    default:
        return QStringLiteral("Chyba komunikace - Chybový kod Windows socket API:") +
               QString::number(errorCode);
    }
}

void DeviceLink::bConnectClick() {
    // Sockets of earlier attempts stay alive and keep reporting to the same handlers,
    // until they have nothing more to report.
    for (ClientSocket* earlier : findChildren<ClientSocket*>(Qt::FindDirectChildrenOnly)) {
        if (earlier->ended())
            earlier->release();
    }
    auto* socket = new ClientSocket(this);
    clientSocket_ = socket;
    socket->onConnect = [this](ClientSocket& s) {
        ClientSocketConnect(s);
    };
    socket->onConnecting = [this](ClientSocket& s) {
        ClientSocketConnecting(s);
    };
    socket->onDisconnect = [this](ClientSocket& s) {
        ClientSocketDisconnect(s);
    };
    socket->onError = [this](ClientSocket& s, int& code) {
        ClientSocketError(s, code);
    };
    socket->onRead = [this](ClientSocket& s) {
        ClientSocketRead(s);
    };
    attemptRecording_ = recording_;
    if (attemptRecording_)
        attemptRecording_->begin(host_.addressText(), port_);
    socket->onSend = [this](const QByteArray& bytes) {
        if (attemptRecording_)
            attemptRecording_->sent(
                SessionRecording::masked(bytes, Win1250::fromWide(host_.passwordText())));
    };

    host_.setApplyInProgress(false);
    host_.hideMainWindow();
    host_.showWaitDialog();
    const int savedCursor = host_.screenCursor();
    host_.setScreenCursor(crHourGlass);
    host_.setConnectionControlsEnabled(false);

    socket->setHost(host_.addressText());
    socket->setPort(port_);
    socket->open();

    waitForConnection();

    host_.setConnectionControlsEnabled(true);
    host_.setScreenCursor(savedCursor);
}

void DeviceLink::waitForConnection() {
    signals_.hConnected.reset();
    signals_.hAborted.reset();
    QElapsedTimer clock;
    clock.start();
    const int deadlineMs = LinkTimings::current().connectWaitMs;
    for (;;) {
        // Connected wins over aborted; an abort has already told the operator.
        if (waitForAny({&signals_.hConnected, &signals_.hAborted}, 100) != WaitTimedOut)
            return;
        processMessages(100);
        if (clock.elapsed() >= deadlineMs) {
            // Does nothing while the attempt has not connected; a later event of the
            // attempt may still act.
            if (clientSocket_)
                clientSocket_->close();
            host_.showNotice(QStringLiteral("Chyba - Nepodařilo se vytvořit spojení!"));
            return;
        }
    }
}

void DeviceLink::setRecording(SessionRecording* recording) {
    recording_ = recording;
    if (attemptRecording_ != recording)
        attemptRecording_ = nullptr;
}

void DeviceLink::CancelConnect() {
    if (link_) {
        if (clientSocket_)
            clientSocket_->release();
        clientSocket_ = nullptr;
        link_ = nullptr;
        // Without a connection the keep-alive has nothing to watch.
        timer1_.stop();
    }
    signals_.hAborted.set();
    host_.showMainWindow();
}

void DeviceLink::ClientSocketConnecting(ClientSocket& socket) {
    link_ = &socket;
    host_.logComm(QStringLiteral("Connecting"), DarkRed);
}

void DeviceLink::ClientSocketConnect(ClientSocket&) {
    if (attemptRecording_)
        attemptRecording_->connected();
    timer1_.start(LinkTimings::current().keepAliveMs);
    rxBuffer_.clear();
    signals_.hConnected.set();
    host_.logComm(QStringLiteral("Connect"), DarkRed);
    host_.hideMainWindow();
}

void DeviceLink::ClientSocketDisconnect(ClientSocket& socket) {
    if (attemptRecording_)
        attemptRecording_->disconnected(socket.closedHere());
    host_.showMainWindow();
    host_.closeWaitDialog();
    timer1_.stop();
    // A rejected password has told the operator already; the sheet learns nothing.
    if (!signals_.hWrongPassword.test())
        host_.runScript(QByteArrayLiteral("onDisconnect();"));
    // The script may have logged in again (a sheet's "Destroy" after an apply): Link
    // then is the new connection, which this disconnection must leave alone.
    if (link_ == &socket)
        link_ = nullptr;
    host_.logComm(QStringLiteral("Disconnect"), DarkRed);
}

void DeviceLink::ClientSocketError(ClientSocket&, int& errorCode) {
    if (attemptRecording_)
        attemptRecording_->failed(errorCode);
    host_.showMainWindow();
    host_.closeWaitDialog();
    signals_.hAborted.set();
    const QString text = socketErrorText(errorCode);
    host_.logComm(text, DarkRed);
    throw Error(text);
}

void DeviceLink::handleWrongPassword() {
    host_.showMainWindow();
    host_.closeWaitDialog();
    signals_.hWrongPassword.set();
    // The disconnection handling runs inside close and consumes hWrongPassword.
    if (clientSocket_)
        clientSocket_->close();
    host_.showNotice(QStringLiteral("Chybné heslo!"));
    host_.showMainWindow();
}

void DeviceLink::Timer1Timer() {
    // One keep-alive message at a time: ticks while it is open change nothing.
    if (keepAliveMessageOpen_)
        return;
    if (!signals_.hDataReceived.test()) {
        // The connection that fell silent. While the operator reads the message, it may
        // end and a new one start (a sheet logging in again); the new one is not closed.
        const QPointer<ClientSocket> silent = clientSocket_;
        {
            QScopedValueRollback messageOpen(keepAliveMessageOpen_, true);
            host_.showNotice(QStringLiteral(
                "Chyba komunikace! Zařízení přestalo komunikovat! Zkuste se znovu připojit!"));
        }
        if (silent)
            silent->close();
        return;
    }
    if (link_)
        link_->sendText(QByteArrayLiteral("?\r"));
}
