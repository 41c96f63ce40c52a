#include "diagnostics/CommunicationLogView.h"

#include "diagnostics/DiagnosticLog.h"
#include "diagnostics/LogColour.h"
#include "platform/Win1250.h"

#include <QTextCursor>

namespace {

// The device ends its lines with CR LF; each break becomes one new line here.
QString displayText(const QByteArray& line) {
    QString text = Win1250::toWide(line);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

CommunicationLogView::CommunicationLogView(const DiagnosticLog& log, QWidget* parent)
    : QPlainTextEdit(parent), log_(log), showLater_(this, [this] { showPending(); }) {
    setReadOnly(true);
    setUndoRedoEnabled(false);
    connect(&log, &DiagnosticLog::communicationLogGrew, this, [this] { showLater_.request(); });
    showPending();
}

void CommunicationLogView::showPending() {
    showLater_.markDone();
    const qsizetype available = log_.communicationCount();
    if (available <= shown_)
        return;

    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    for (; shown_ < available; ++shown_) {
        const DiagnosticLog::CommunicationLine line = log_.communicationLine(shown_);
        // The first line goes into the document's initial empty block.
        if (shown_ > 0)
            cursor.insertBlock();
        QTextCharFormat format;
        format.setForeground(LogColour::toQColor(line.colour));
        cursor.insertText(displayText(line.text), format);
    }
    cursor.endEditBlock();
}
