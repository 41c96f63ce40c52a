#include "platform/dialogs/RecordingDialogs.h"

DialogAnswer RecordingDialogs::present(const DialogRequest& request) {
    DialogAnswer answer = DialogAnswer::Ok;
    if (request.kind == DialogKind::Question) {
        answer = defaultAnswer_;
        if (!queuedAnswers_.empty()) {
            answer = queuedAnswers_.front();
            queuedAnswers_.pop_front();
        }
    }
    records_.push_back({request.kind, request.caption, request.text, answer});
    if (observer_)
        observer_(records_.back());
    return answer;
}

QString RecordingDialogs::chooseFileToWrite(const QString&, const QString&) {
    if (queuedFiles_.empty())
        return {};
    QString file = queuedFiles_.front();
    queuedFiles_.pop_front();
    return file;
}
