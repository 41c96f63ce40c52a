#pragma once

#include "platform/dialogs/OperatorDialogs.h"

// Real message boxes for the operator. Each one is modal for the whole
// application and keeps the message loop running while it is open. Buttons are
// labelled in Czech, like the rest of the program.
class MessageBoxDialogs : public OperatorDialogs {
public:
    QString chooseFileToWrite(const QString& caption, const QString& suggested) override;

protected:
    DialogAnswer present(const DialogRequest& request) override;
};
