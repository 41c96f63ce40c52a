// The receive handler: splits the device's byte stream into lines and configuration
// blocks and answers them.
#include "link/DeviceLink.h"
#include "link/ConfigurationHistory.h"
#include "link/LinkHost.h"
#include "link/SessionRecording.h"
#include "platform/Error.h"
#include "platform/Win1250.h"

#include <QElapsedTimer>
#include <QFile>

namespace {

const QByteArray& LineEnd = ReceiveBuffer::LineEnd;
const QByteArray& BlockEnd = ReceiveBuffer::BlockEnd;
// The declaration the stored configuration starts with (45 characters).
const QByteArray ClientDeclaration =
    QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"windows-1250\"?>");

void storeConfiguration(const QByteArray& text) {
    const QString fileName = QString::fromLatin1(DeviceLink::StoredConfigurationFile);
    QFile file(fileName);
    if (file.exists())
        file.remove();
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.flush())
        throw Error(QStringLiteral("Nelze zapsat soubor %1: %2").arg(fileName, file.errorString()));
    file.close();
}

} // namespace

void DeviceLink::ClientSocketRead(ClientSocket& socket) {
    // Called again for lines an earlier call left: then nothing new may have come.
    if (socket.receiveLength() > 0) {
        host_.logComm(QStringLiteral("Receive ") + QString::number(socket.receiveLength()),
                      DarkGreen);
        signals_.hDataReceived.set();
        const QByteArray bytes = socket.receiveText();
        if (attemptRecording_)
            attemptRecording_->received(bytes);
        rxBuffer_.append(bytes);
    }

    // A device may send lines faster than they are handled. After a slice of them
    // the rest waits for the next turn of the message loop, so that the windows
    // keep answering; the socket brings this handler back before its other events.
    QElapsedTimer slice;
    slice.start();
    int handled = 0;
    // Nested calls (from modal windows that LoadSheet or a message opens) consume the
    // same buffer, so every position is asked for afresh at each pass.
    while (rxBuffer_.lineEnd() >= 0) {
        if (++handled > LinesPerSlice || slice.elapsed() >= SliceMs) {
            linesLeftForLater_ = true;
            socket.readAgainSoon();
            return;
        }
        const qsizetype start = rxBuffer_.blockStart();
        const qsizetype end = rxBuffer_.blockEnd();
        if (start >= 0 && end < 0)
            break; // the block is still incomplete
        if (end >= 0 && start >= 0 && start < end) {
            takeBlock(socket, start, end);
            continue;
        }
        // Left: no block end, or one with no "<XML>" before it, which goes once the
        // lines in front of it are handled.
        if (end >= 0 && end < rxBuffer_.lineEnd())
            dropUnopenedBlockEnd(end);
        else
            takeLine(socket);
    }
    linesLeftForLater_ = false;
    if (rxBuffer_.size() > MaxPendingInput)
        dropOverlongInput(socket);
}

void DeviceLink::takeBlock(ClientSocket& socket, qsizetype start, qsizetype end) {
    const qsizetype length = end - start + BlockEnd.size();
    const QByteArray stored = ClientDeclaration + rxBuffer_.text().mid(start, length);
    host_.logComm(Win1250::toWide(stored), DarkGreen);
    rxBuffer_.remove(start, length);
    removeDeviceDeclaration();
    // An apply is waiting for the device's confirmation: a block now is not the
    // configuration the operator is editing.
    if (host_.applyInProgress())
        return;
    storeConfiguration(stored);
    if (history_)
        history_->keepReceived(stored, host_.addressText());
    host_.reloadDeviceDocument(QString::fromLatin1(StoredConfigurationFile));
    host_.loadSheet();
    // Sent only once LoadSheet has returned; by then the connection may be gone, and
    // then nothing is sent.
    socket.sendText(QByteArrayLiteral("?\r"));
}

// "</XML>" with no "<XML>" before it is no block: once the complete lines in front of
// it have been handled (they may carry a confirmation), the text through it is logged
// and dropped, so the loop goes on with what follows.
void DeviceLink::dropUnopenedBlockEnd(qsizetype end) {
    const qsizetype length = end + BlockEnd.size();
    host_.logComm(Win1250::toWide(rxBuffer_.text().left(length)), DarkGreen);
    rxBuffer_.remove(0, length);
}

// Removes the device's own declaration, which normally stood in front of the block:
// the span from the first "<?xml" through the first "?>". A declaration whose end has
// not arrived yet stays whole.
void DeviceLink::removeDeviceDeclaration() {
    const qsizetype start = rxBuffer_.declarationStart();
    if (start < 0)
        return;
    const qsizetype end = rxBuffer_.declarationEnd();
    if (end < 0)
        return;
    const qsizetype length = end - start + 2;
    if (length >= 1)
        rxBuffer_.remove(start, length);
}

void DeviceLink::takeLine(ClientSocket& socket) {
    const qsizetype length = rxBuffer_.lineEnd() + LineEnd.size();
    const QByteArray line = rxBuffer_.text().left(length);
    host_.logComm(Win1250::toWide(line), DarkGreen);
    rxBuffer_.remove(0, length);

    // The first marker found decides.
    if (line.contains("S*****"))
        socket.sendText("S" + Win1250::fromWide(host_.passwordText()) + "\r");
    else if (line.contains("S >"))
        socket.sendText(QByteArrayLiteral("<XML/>\r"));
    else if (line.contains("E >"))
        handleWrongPassword();
    else if (line.contains("<!--Prevodnik prenastaven-->"))
        signals_.hReconfigured.set();
    else if (line.contains("<!--Vsechna prenastaveni nebyla provedena-->"))
        signals_.hPartiallyApplied.set();
}

// A device that keeps sending without ever completing a line or a block. What it
// left unfinished is named: a configuration block begun but not ended, or a line.
void DeviceLink::dropOverlongInput(ClientSocket& socket) {
    const bool unfinishedBlock = rxBuffer_.blockStart() >= 0 && rxBuffer_.blockEnd() < 0;
    rxBuffer_.clear();
    const QString logText =
        unfinishedBlock ? QStringLiteral("Chyba komunikace - Konfigurace zařízení přesáhla %1 "
                                         "bajtů bez konce bloku </XML>, data byla zahozena.")
                        : QStringLiteral("Chyba komunikace - Přijato více než %1 bajtů bez konce "
                                         "řádku, data byla zahozena.");
    host_.logComm(logText.arg(MaxPendingInput), DarkRed);
    socket.close();
    host_.showNotice(unfinishedBlock
                         ? QStringLiteral("Chyba komunikace! Zařízení poslalo příliš velkou nebo "
                                          "neukončenou konfiguraci. Spojení bylo ukončeno.")
                         : QStringLiteral("Chyba komunikace! Zařízení posílá příliš mnoho dat "
                                          "bez konce řádku. Spojení bylo ukončeno."));
}
