#pragma once

#include "platform/dialogs/OperatorDialogs.h"

#include <deque>
#include <functional>
#include <vector>

// Answers every message box at once and remembers it: for tests, and for the
// headless mode, which prints each one through the observer.
class RecordingDialogs : public OperatorDialogs {
public:
    struct Record {
        DialogKind kind;
        QString caption;
        QString text;
        DialogAnswer answer;
    };
    using Observer = std::function<void(const Record&)>;

    const std::vector<Record>& records() const { return records_; }
    void clearRecords() { records_.clear(); }

    // Answers for the coming questions, used in order; when none is queued,
    // questions get the default answer (No unless set otherwise).
    void queueAnswer(DialogAnswer answer) { queuedAnswers_.push_back(answer); }
    void setDefaultAnswer(DialogAnswer answer) { defaultAnswer_ = answer; }

    // The files the coming save dialogs choose, used in order; when none is queued,
    // a save dialog is cancelled.
    void queueFile(const QString& file) { queuedFiles_.push_back(file); }
    QString chooseFileToWrite(const QString& caption, const QString& suggested) override;

    // Called for every dialog as it is answered.
    void setObserver(Observer observer) { observer_ = std::move(observer); }

protected:
    DialogAnswer present(const DialogRequest& request) override;

private:
    std::vector<Record> records_;
    std::deque<DialogAnswer> queuedAnswers_;
    std::deque<QString> queuedFiles_;
    DialogAnswer defaultAnswer_ = DialogAnswer::No;
    Observer observer_;
};
