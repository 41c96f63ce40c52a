#pragma once

#include "platform/widgets/Form.h"

#include <functional>

class TButton;
class TLabel;

// The wait dialog shown, not modal, while a connection is being made. It has no
// title-bar buttons: the operator leaves it only through "Zrušit".
class TfWaitDialog : public TForm {
    Q_OBJECT
public:
    // `cancelConnect` is the main window's CancelConnect.
    explicit TfWaitDialog(std::function<void()> cancelConnect, TComponent* owner = nullptr);

    TLabel* Label1() const { return label1_; }
    TButton* Button1() const { return button1_; }

    // "Zrušit": cancels the attempt, then closes (hides) the dialog.
    Q_INVOKABLE void Button1Click(QObject* sender);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> cancelConnect_;
    TLabel* label1_;
    TButton* button1_;
};
