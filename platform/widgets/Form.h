#pragma once

#include "platform/widgets/Control.h"
#include "platform/widgets/Published.h"

#include <functional>

class QEventLoop;
class QKeyEvent;

// A windowed control that could scroll its content.
class TScrollingWinControl : public TWinControl {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TScrollingWinControl(TComponent* owner = nullptr);

protected:
    using TWinControl::TWinControl;
};

// A form: a top-level window. Left, Top, Width and Height include a nominal
// frame that depends on the border style only, so that they agree with
// ClientWidth and ClientHeight on every platform (with or without a window
// manager, which reports its real frame late or never).
class TCustomForm : public TScrollingWinControl {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TCustomForm(TComponent* owner = nullptr);
    ~TCustomForm() override;

    // Shows the form without blocking.
    void Show();
    void Hide();
    // Asks OnCloseQuery, tells OnClose and hides the form (the close action of
    // a form is hide). A modally shown form ends its modal show.
    void Close();
    // Disables the top-level windows visible at this moment (but those kept usable
    // during modal shows), shows the form and runs a local event loop until it
    // closes; returns the modal result (mrCancel when it closed without one).
    int ShowModal();
    // Where no operator waits (the headless mode): ShowModal then shows the form,
    // tells the observer and returns mrCancel at once. An empty observer restores
    // the modal show.
    using HeadlessModal = std::function<void(TCustomForm&)>;
    static void setHeadlessModal(HeadlessModal observer);
    // A top-level window that modal shows leave usable: the diagnostics window, which
    // support reads while a sheet is shown modally.
    static void keepUsableDuringModalShows(QWidget* window);
    bool IsModal() const { return modalLoop_ != nullptr; }

    int ModalResult() const { return modalResult_; }
    // A result other than mrNone closes a modally shown form.
    void SetModalResult(int result);

    const QByteArray& Caption() const { return caption_; }
    void SetCaption(const QByteArray& caption);
    int ClientWidth() const { return Widget()->width(); }
    int ClientHeight() const { return Widget()->height(); }
    void SetClientWidth(int width);
    void SetClientHeight(int height);

    Vcl::TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(Vcl::TFormBorderStyle style);
    Vcl::TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(Vcl::TBorderIcons icons);
    Vcl::TPosition Position() const { return position_; }
    void SetPosition(Vcl::TPosition position) { position_ = position; }
    Vcl::TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(Vcl::TFormStyle style);
    Vcl::TWindowState WindowState() const { return windowState_; }
    void SetWindowState(Vcl::TWindowState state);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool preview) { keyPreview_ = preview; }
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool scroll) { autoScroll_ = scroll; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    TControl* ActiveControl() const;

    // True once the form has been on screen (anchors follow resizes from then on).
    bool WasShown() const { return wasShown_; }

    // The form's own key events, for KeyPreview.
    void FireKey(QKeyEvent* key);
    // Enter presses the focused or the default button, Esc the cancel button.
    // True when the key was used.
    bool HandleDialogKey(QKeyEvent* key, TControl* focused);

protected:
    void Freeing() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QRect BoundsRect() const override;
    void SetBoundsRect(const QRect& rect) override;
    void UpdateShowing() override;

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnResize;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

private:
    struct Frame {
        int side;
        int top;
        int bottom;
    };
    Frame NominalFrame() const;
    bool IsFixedSize() const;
    void ApplyWindowFlags();
    void PlaceOnShow();
    void FitToChildren();
    void EndModal();

    QByteArray caption_;
    Vcl::TFormBorderStyle borderStyle_ = Vcl::TFormBorderStyle::bsSizeable;
    Vcl::TBorderIcons borderIcons_ = Vcl::TBorderIcon::biSystemMenu | Vcl::TBorderIcon::biMinimize |
                                     Vcl::TBorderIcon::biMaximize;
    Vcl::TPosition position_ = Vcl::TPosition::poDesigned;
    Vcl::TFormStyle formStyle_ = Vcl::TFormStyle::fsNormal;
    Vcl::TWindowState windowState_ = Vcl::TWindowState::wsNormal;
    bool keyPreview_ = false;
    bool autoScroll_ = false;
    bool autoSize_ = false;
    bool wasShown_ = false;
    int modalResult_ = 0;
    QEventLoop* modalLoop_ = nullptr;
};

class TForm : public TCustomForm {
    Q_OBJECT
    KONFIDOR_PUBLISH_SHOWING
    KONFIDOR_PUBLISH_INPUT
    KONFIDOR_PUBLISH_ANCHORS
    Q_PROPERTY(QByteArray Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int ClientWidth READ ClientWidth WRITE SetClientWidth)
    Q_PROPERTY(int ClientHeight READ ClientHeight WRITE SetClientHeight)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(Vcl::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(Vcl::TBorderIcons BorderIcons READ BorderIcons WRITE SetBorderIcons)
    Q_PROPERTY(Vcl::TPosition Position READ Position WRITE SetPosition)
    Q_PROPERTY(Vcl::TFormStyle FormStyle READ FormStyle WRITE SetFormStyle)
    Q_PROPERTY(Vcl::TWindowState WindowState READ WindowState WRITE SetWindowState)
    Q_PROPERTY(bool KeyPreview READ KeyPreview WRITE SetKeyPreview)
    Q_PROPERTY(bool AutoScroll READ AutoScroll WRITE SetAutoScroll)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(TControl* ActiveControl READ ActiveControl)
    Q_PROPERTY(TNotifyEvent OnClick MEMBER OnClick)
    Q_PROPERTY(TNotifyEvent OnDblClick MEMBER OnDblClick)
    KONFIDOR_PUBLISH_KEY_EVENTS
    KONFIDOR_PUBLISH_MOUSE_EVENTS
    Q_PROPERTY(TNotifyEvent OnShow MEMBER OnShow)
    Q_PROPERTY(TNotifyEvent OnHide MEMBER OnHide)
    Q_PROPERTY(TNotifyEvent OnResize MEMBER OnResize)
    Q_PROPERTY(TNotifyEvent OnActivate MEMBER OnActivate)
    Q_PROPERTY(TNotifyEvent OnDeactivate MEMBER OnDeactivate)
    Q_PROPERTY(TNotifyEvent OnCreate MEMBER OnCreate)
    Q_PROPERTY(TNotifyEvent OnDestroy MEMBER OnDestroy)
    Q_PROPERTY(TNotifyEvent OnPaint MEMBER OnPaint)
    Q_PROPERTY(TCloseEvent OnClose MEMBER OnClose)
    Q_PROPERTY(TCloseQueryEvent OnCloseQuery MEMBER OnCloseQuery)
public:
    Q_INVOKABLE explicit TForm(TComponent* owner = nullptr) : TCustomForm(owner) {}
};
