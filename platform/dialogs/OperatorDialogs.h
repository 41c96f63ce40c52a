#pragma once

#include "platform/EntryGuard.h"

#include <QString>

// The one place through which the program talks to the operator in message
// boxes: the error box, plain notices and Yes/No questions. The GUI shows real
// message boxes; tests and the headless mode install a recording implementation
// that answers at once. Nothing else in the program opens a message box.
enum class DialogKind { Error, Notice, Question };
enum class DialogAnswer { Ok, Yes, No };

// One message box as the operator would see it.
struct DialogRequest {
    DialogKind kind;
    QString caption;
    QString text;
};

class OperatorDialogs {
public:
    virtual ~OperatorDialogs() = default;

    // The error box: stop icon, one OK button, caption the application title,
    // and the message completed by errorBoxText.
    void showError(const QString& message);

    // A plain notice: one OK button, no icon, caption the application title.
    void showNotice(const QString& text);

    // A question with Yes and No buttons; true when the operator answers Yes.
    bool askYesNo(const QString& caption, const QString& text);

    // A file to write, chosen by the operator in a save dialog that suggests
    // `suggested`; empty when the operator cancels.
    virtual QString chooseFileToWrite(const QString& caption, const QString& suggested) = 0;

    // The implementation in use. Until one is installed it is the message-box one.
    static OperatorDialogs& current();

    // Installs an implementation (not owned; nullptr returns to the message-box
    // one) and gives back the previous one, so tests can restore it.
    static OperatorDialogs* install(OperatorDialogs* dialogs);

protected:
    // Shows the message box and returns the operator's answer (Ok for the
    // one-button kinds).
    virtual DialogAnswer present(const DialogRequest& request) = 0;
};

// The error box's text: a full stop is appended when the message's last
// character sorts after "." in character code order, so "Chyba" becomes
// "Chyba." while "Hotovo!" and "10060." stay as they are.
QString errorBoxText(const QString& message);

// A reporter for EntryGuard that shows errors escaping Qt's entry points in the
// error box of the current implementation.
EntryGuard::Reporter errorBoxReporter();
