// Any byte stream from a device, cut into reads at points the input chooses,
// through the link's receive side: login prompts, status lines, configuration
// blocks, confirmations, and input past the 16 MiB bound. The conversation ends
// with the device closing the connection; the link must end with it.
#include "FuzzTargets.h"

#include "link/DeviceLink.h"
#include "link/RecordingLinkHost.h"
#include "link/SocketFaults.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

namespace {

// Pieces from the input: a length byte, then that many bytes. A length byte of
// 0xF0 or more makes the following piece repeat 2^(n-0xF0+10) times (1 KiB to
// 32 MiB of it), so that short inputs reach the bound too.
QList<QByteArray> piecesOf(const QByteArray& bytes) {
    QList<QByteArray> pieces;
    qsizetype total = 0;
    qsizetype repeat = 1;
    for (qsizetype pos = 0; pos < bytes.size();) {
        const auto header = static_cast<unsigned char>(bytes[pos++]);
        if (header >= 0xF0) {
            repeat = qsizetype(1) << (header - 0xF0 + 10);
            continue;
        }
        const QByteArray piece = bytes.mid(pos, header);
        pos += header;
        // Past 17 MiB the bound has long been crossed; more only costs time. Lines
        // and blocks are capped at 64 KiB: each costs the link a handler's work (a
        // block a stored file and a sheet), and thousands are slow, not wrong.
        const bool handled = piece.contains('\n') || piece.contains("</XML>");
        const qsizetype cap = handled ? (1 << 16) : (17 << 20);
        repeat = std::min(repeat, std::max<qsizetype>(1, (cap - total) / std::max<qsizetype>(1, piece.size())));
        pieces.append(piece.repeated(repeat));
        total += pieces.back().size();
        repeat = 1;
    }
    return pieces;
}

} // namespace

void FuzzTargets::receive(const QByteArray& bytes) {
    SocketFaults::Fault conversation;
    conversation.stage = SocketFaults::Fault::Stage::Conversation;
    conversation.pieces = piecesOf(bytes);
    const SocketFaults::Injector previous = SocketFaults::setInjector(
        [&conversation](const QString&, quint16) { return std::optional(conversation); });
    {
        // The link's waits look for the next message for up to 100 ms; a timer
        // that always has one ready keeps an input from idling there.
        QTimer nudge;
        nudge.start(0);
        RecordingLinkHost host;
        host.address = QStringLiteral("device.fuzz");
        DeviceLink link(host);
        link.bConnectClick();
        const QDeadlineTimer deadline(60000);
        while (link.link() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        check(!link.link(), "the link outlived the device's connection");
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SocketFaults::setInjector(previous);
}
