#include "diagnostics/CommunicationLogView.h"

#include "diagnostics/DiagnosticLog.h"
#include "diagnostics/LogColour.h"
#include "platform/Win1250.h"

#include <QTextCursor>

#include <algorithm>

namespace {

// Lines added per turn of the message loop: a backlog of a million lines is
// worked off in steps of a few tens of milliseconds, and the program stays usable.
constexpr qsizetype kLinesPerTurn = 10000;

// The device ends its lines with CR LF; each break becomes one new line here.
QString displayText(const QByteArray& line) {
    QString text = Win1250::toWide(line);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

CommunicationLogView::CommunicationLogView(const DiagnosticLog& log, QWidget* parent)
    : QPlainTextEdit(parent), log_(log),
      showLater_(this, [this] { showNextLines(kLinesPerTurn); }) {
    setReadOnly(true);
    setUndoRedoEnabled(false);
    connect(&log, &DiagnosticLog::communicationLogGrew, this, [this] {
        if (isVisible())
            showLater_.request();
    });
}

void CommunicationLogView::showEvent(QShowEvent* event) {
    QPlainTextEdit::showEvent(event);
    showLater_.request();
}

void CommunicationLogView::showPending() {
    showNextLines(log_.communicationCount() - shown_);
}

void CommunicationLogView::showNextLines(qsizetype limit) {
    showLater_.markDone();
    const qsizetype end = std::min(log_.communicationCount(), shown_ + limit);
    if (end <= shown_)
        return;

    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    for (; shown_ < end; ++shown_) {
        const DiagnosticLog::CommunicationLine line = log_.communicationLine(shown_);
        // The first line goes into the document's initial empty block.
        if (shown_ > 0)
            cursor.insertBlock();
        QTextCharFormat format;
        format.setForeground(LogColour::toQColor(line.colour));
        cursor.insertText(displayText(line.text), format);
    }
    cursor.endEditBlock();
    if (shown_ < log_.communicationCount())
        showLater_.request();
}
