#include "app/TfWaitDialog.h"

#include "platform/Win1250.h"
#include "platform/components/Reflection.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/Label.h"

#include <QEvent>

TfWaitDialog::TfWaitDialog(std::function<void()> cancelConnect, TComponent* owner)
    : TForm(owner), cancelConnect_(std::move(cancelConnect)), label1_(new TLabel(this)),
      button1_(new TButton(this)) {
    SetName("fWaitDialog");
    SetCaption("Konfidor");
    SetBorderStyle(Vcl::TFormBorderStyle::bsDialog);
    SetBorderIcons({});
    SetPosition(Vcl::TPosition::poScreenCenter);
    SetClientWidth(291);
    SetClientHeight(87);

    label1_->SetName("Label1");
    label1_->SetParent(this);
    label1_->Font()->SetStyle(Vcl::TFontStyle::fsBold);
    label1_->SetCaption(Win1250::fromWide(u"Aplikace se pokouší o navázání spojení!"));
    label1_->SetBounds(32, 16, 232, 13);

    button1_->SetName("Button1");
    button1_->SetParent(this);
    button1_->SetCaption(Win1250::fromWide(u"Zrušit"));
    button1_->SetBounds(104, 48, 75, 25);
    button1_->SetTabOrder(0);
    BindEvent(button1_, "OnClick", FindPublishedMethod(this, "Button1Click"));
}

void TfWaitDialog::Button1Click(QObject*) {
    cancelConnect_();
    Close();
}

// A window manager may still offer to close a window without title-bar buttons
// (a keyboard shortcut, the task bar). The dialog stays: leaving it without "Zrušit"
// would leave the attempt running with no way to cancel it.
bool TfWaitDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Widget() && event->type() == QEvent::Close && event->spontaneous()) {
        event->ignore();
        return true;
    }
    return TForm::eventFilter(watched, event);
}
