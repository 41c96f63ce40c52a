#pragma once

#include "platform/components/Component.h"
#include "platform/components/EventTypes.h"
#include "platform/widgets/Colors.h"
#include "platform/widgets/ControlTypes.h"
#include "platform/widgets/Persistents.h"

#include <QPalette>
#include <QPointer>
#include <QRect>
#include <QWidget>

class TWinControl;
class TCustomForm;

// A control: a component that holds a Qt widget. Ownership (Owner) and
// placement (Parent) are separate: a control shows only once it is placed in a
// windowed control, and its widget is its parent's child widget from then on.
//
// Enabled and Visible are the control's own flags, as sheets expect; Qt's
// inherited state is never read back. Each concrete class publishes the
// properties it really offers (Published.h).
class TControl : public TComponent {
    Q_OBJECT
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(int Cursor READ Cursor WRITE SetCursor)
    Q_CLASSINFO("Range:Cursor", "-32768..32767")
    Q_PROPERTY(QByteArray Hint READ Hint WRITE SetHint)
public:
    Q_INVOKABLE explicit TControl(TComponent* owner = nullptr);
    ~TControl() override;

    QWidget* Widget() const { return widget_; }
    // The live control that holds this widget or its nearest ancestor widget.
    static TControl* ControlOf(const QWidget* widget);

    TWinControl* Parent() const { return parent_; }
    // Places the control inside a windowed control (or takes it out with none).
    void SetParent(TWinControl* parent);

    int Left() const { return BoundsRect().x(); }
    int Top() const { return BoundsRect().y(); }
    int Width() const { return BoundsRect().width(); }
    int Height() const { return BoundsRect().height(); }
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    void SetBounds(int left, int top, int width, int height);

    int Cursor() const { return cursor_; }
    void SetCursor(int cursor);
    const QByteArray& Hint() const { return hint_; }
    void SetHint(const QByteArray& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    int Color() const { return color_; }
    void SetColor(int color);
    Vcl::TAnchors Anchors() const { return anchors_; }
    void SetAnchors(Vcl::TAnchors anchors);
    Vcl::TAlign Align() const { return align_; }
    void SetAlign(Vcl::TAlign align);
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int order);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool stop);

    // Made on first use: most controls of a sheet never touch them, and a sheet
    // builds hundreds of controls.
    TFont* Font() const;
    TPopupMenu* PopupMenu() const { return nullptr; }
    TSizeConstraints* Constraints() const;

    // The form this control is shown on, if any.
    TCustomForm* ParentForm() const;

    // Anchoring: the geometry that anchors keep relative to the parent's size.
    void CaptureAnchorBase();
    void ApplyAnchors(QSize parentSize);

protected:
    TControl(TComponent* owner, QWidget* widget, int defaultColor = Colors::clBtnFace);

    void Freeing() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Geometry as the program sees it; forms add their nominal frame.
    virtual QRect BoundsRect() const;
    virtual void SetBoundsRect(const QRect& rect);
    // The palette role that Color paints.
    virtual QPalette::ColorRole ColorRole() const { return QPalette::Window; }
    // Whether a left click anywhere in the control fires OnClick (buttons and
    // combo boxes fire it from their own signals instead).
    virtual bool ClickOnMouseRelease() const { return true; }
    // Applies Visible to the widget; forms show and hide their window.
    virtual void UpdateShowing();
    // Reports mouse, key and focus events of an inner widget (a spin box's
    // editor, a combo box's line edit) as the control's own.
    void WatchInner(QWidget* inner);
    // Fires an event handler with this control as sender, unless it is freed.
    void Fire(const MethodRef& handler);
    // Paints Color into the widget's palette; a Window colour fills the
    // background only once it was set explicitly.
    virtual void ApplyColor();
    // True after the destructor began: no events, no layout.
    bool Quiet() const { return quiet_; }
    // The first step of destruction: the widget and its inner widgets stop
    // reaching this control, so that nothing calls into parts already gone.
    void BeginDestruction();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TContextPopupEvent OnContextPopup;

private:
    friend class TWinControl;
    static void TrackFocus(QWidget* old, QWidget* now);

    void HandleMouse(QObject* watched, QEvent* event);
    bool HandleKey(QObject* watched, QEvent* event);
    void ApplyFont();
    void ApplyConstraints();
    // The font or the size constraints, made and connected to `apply` when first asked for.
    template <typename Helper>
    Helper* MadeOnFirstUse(Helper*& helper, void (TControl::*apply)()) const;
    void ApplyHint();
    void NotifyParentLayout();

    QPointer<QWidget> widget_;
    QPointer<TWinControl> parent_;
    bool visible_ = true;
    bool enabled_ = true;
    bool showHint_ = false;
    bool quiet_ = false;
    bool colorSet_ = false;
    int defaultColor_;
    int color_;
    int cursor_ = 0;
    QByteArray hint_;
    Vcl::TAnchors anchors_ = Vcl::TAnchorKind::akLeft | Vcl::TAnchorKind::akTop;
    Vcl::TAlign align_ = Vcl::TAlign::alNone;
    int tabOrder_ = -1;
    bool tabStop_ = false;
    mutable TFont* font_ = nullptr;
    mutable TSizeConstraints* constraints_ = nullptr;
    QRect anchorRect_;
    QSize anchorParentSize_;
    bool leftPressed_ = false;

public:
    // Whether Color was set explicitly (labels paint no background otherwise).
    bool ColorIsSet() const { return colorSet_; }
};

// A control without a window of its own: nothing can be placed inside it.
class TGraphicControl : public TControl {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TGraphicControl(TComponent* owner = nullptr);

protected:
    using TControl::TControl;
};

// A windowed control: other controls can be placed inside it. It arranges its
// children by their Align and Anchors whenever its size changes.
class TWinControl : public TControl {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TWinControl(TComponent* owner = nullptr);
    ~TWinControl() override;

    // The controls placed inside, in placement order.
    QList<TControl*> Controls() const;
    // Lays out the aligned children again.
    void Realign();

protected:
    TWinControl(TComponent* owner, QWidget* widget, int defaultColor = Colors::clBtnFace);

    void Freeing() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The widget that child widgets are placed in.
    virtual QWidget* Container() const { return Widget(); }
    // The area that aligned children share.
    virtual QRect AlignRect() const;
    virtual void InsertControl(TControl* control);
    virtual void RemoveControl(TControl* control);

private:
    friend class TControl;
    void ApplyTabOrder();

    QList<QPointer<TControl>> controls_;
    bool realigning_ = false;
};

// A windowed control that paints itself.
class TCustomControl : public TWinControl {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TCustomControl(TComponent* owner = nullptr);

protected:
    using TWinControl::TWinControl;
};
