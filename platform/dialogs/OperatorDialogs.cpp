#include "platform/dialogs/OperatorDialogs.h"

#include "platform/dialogs/ApplicationTitle.h"
#include "platform/dialogs/MessageBoxDialogs.h"

namespace {

OperatorDialogs*& installedDialogs() {
    static OperatorDialogs* dialogs = nullptr;
    return dialogs;
}

} // namespace

void OperatorDialogs::showError(const QString& message) {
    present({DialogKind::Error, ApplicationTitle::current(), errorBoxText(message)});
}

void OperatorDialogs::showNotice(const QString& text) {
    present({DialogKind::Notice, ApplicationTitle::current(), text});
}

bool OperatorDialogs::askYesNo(const QString& caption, const QString& text) {
    return present({DialogKind::Question, caption, text}) == DialogAnswer::Yes;
}

OperatorDialogs& OperatorDialogs::current() {
    if (OperatorDialogs* dialogs = installedDialogs())
        return *dialogs;
    static MessageBoxDialogs messageBoxes;
    return messageBoxes;
}

OperatorDialogs* OperatorDialogs::install(OperatorDialogs* dialogs) {
    return std::exchange(installedDialogs(), dialogs);
}

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

EntryGuard::Reporter errorBoxReporter() {
    return [](const QString& message) {
        OperatorDialogs::current().showError(message);
    };
}
