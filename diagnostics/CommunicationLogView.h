#pragma once

#include "diagnostics/CoalescedCall.h"

#include <QPlainTextEdit>

class DiagnosticLog;

// Shows the communication log: one line per entry, each in the text colour its
// caller chose. A received block with line breaks of its own spans several
// lines, all in its colour. New lines are added in batches once the message
// loop runs, so a fast stream of entries does not cost a relayout each, and only
// while the view is shown: a hidden one catches up when it appears.
class CommunicationLogView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CommunicationLogView(const DiagnosticLog& log, QWidget* parent = nullptr);

    // Adds every line logged since the last batch at once. Without this call the
    // lines come by themselves from the message loop, a limited number per turn.
    void showPending();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showNextLines(qsizetype limit);

    const DiagnosticLog& log_;
    qsizetype shown_ = 0;
    CoalescedCall showLater_;
};
