#pragma once

#include "platform/widgets/Control.h"
#include "platform/widgets/Published.h"

class QPushButton;

// A windowed control that is a button.
class TButtonControl : public TWinControl {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TButtonControl(TComponent* owner = nullptr);

protected:
    TButtonControl(TComponent* owner, QWidget* widget) : TWinControl(owner, widget) {}
};

// A push button. A click (also Enter on the default button of its form and Esc
// on the cancel button) fires OnClick; a ModalResult other than mrNone closes a
// modally shown form.
class TButton : public TButtonControl {
    Q_OBJECT
    KONFIDOR_PUBLISH_SHOWING
    KONFIDOR_PUBLISH_INPUT
    KONFIDOR_PUBLISH_ANCHORS
    Q_PROPERTY(QByteArray Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    KONFIDOR_PUBLISH_TAB_STOP
    Q_PROPERTY(TNotifyEvent OnClick MEMBER OnClick)
    KONFIDOR_PUBLISH_FOCUS_EVENTS
    KONFIDOR_PUBLISH_KEY_EVENTS
    KONFIDOR_PUBLISH_MOUSE_EVENTS
public:
    Q_INVOKABLE explicit TButton(TComponent* owner = nullptr);

    const QByteArray& Caption() const { return caption_; }
    void SetCaption(const QByteArray& caption);
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool cancel) { cancel_ = cancel; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);

    // Presses the button as a click would.
    void Click();

protected:
    bool ClickOnMouseRelease() const override { return false; }
    void SetBoundsRect(const QRect& rect) override;

private:
    QPushButton* Button() const;
    void Clicked();
    void ShowCaption();

    QByteArray caption_;
    bool default_ = false;
    bool cancel_ = false;
    int modalResult_ = 0;
    bool wordWrap_ = false;
};
