#include "platform/widgets/Control.h"

#include "platform/EntryGuard.h"
#include "platform/Win1250.h"
#include "platform/components/EventDispatch.h"
#include "platform/widgets/Cursors.h"
#include "platform/widgets/Form.h"
#include "platform/widgets/KeyRepeat.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <array>
#include <optional>

namespace {

const char* const controlProperty = "konfidorControl";

// `palette` with `role` in `colour`. Setting a colour copies every brush of the
// palette; the widgets of a sheet mostly start from the same palette and ask
// for the same colour, so the last results are kept and shared.
// A colour given by its red, green, blue and alpha alone, which is all the key holds.
bool isPlainRgb(const QColor& colour) {
    return colour == QColor::fromRgba(colour.rgba());
}

QPalette withColour(const QPalette& palette, QPalette::ColorRole role, const QColor& colour) {
    struct Entry {
        qint64 from;
        QPalette::ColorRole role;
        QRgb rgba;
        QPalette result;
    };
    static std::array<std::optional<Entry>, 4> recent;
    static std::size_t next = 0;
    for (const std::optional<Entry>& entry : recent) {
        if (entry && entry->from == palette.cacheKey() && entry->role == role &&
            entry->rgba == colour.rgba() && isPlainRgb(colour))
            return entry->result;
    }
    QPalette result = palette;
    result.setColor(role, colour);
    if (isPlainRgb(colour)) {
        recent[next] = Entry{palette.cacheKey(), role, colour.rgba(), result};
        next = (next + 1) % recent.size();
    }
    return result;
}

} // namespace

TControl::TControl(TComponent* owner) : TControl(owner, new QWidget) {}

TControl::TControl(TComponent* owner, QWidget* widget, int defaultColor)
    : TComponent(owner), widget_(widget), defaultColor_(defaultColor), color_(defaultColor) {
    static const bool focusTracked = [] {
        QObject::connect(qApp, &QApplication::focusChanged, qApp, &TControl::TrackFocus);
        return true;
    }();
    Q_UNUSED(focusTracked);
    widget_->setProperty(controlProperty, QVariant::fromValue(static_cast<QObject*>(this)));
    widget_->setAttribute(Qt::WA_NoMousePropagation);
    widget_->setMouseTracking(true);
    widget_->installEventFilter(this);
}

template <typename Helper>
Helper* TControl::MadeOnFirstUse(Helper*& helper, void (TControl::*apply)()) const {
    if (!helper) {
        auto* self = const_cast<TControl*>(this);
        helper = new Helper(self);
        connect(helper, &Helper::changed, self, apply);
    }
    return helper;
}

TFont* TControl::Font() const {
    return MadeOnFirstUse(font_, &TControl::ApplyFont);
}

TSizeConstraints* TControl::Constraints() const {
    return MadeOnFirstUse(constraints_, &TControl::ApplyConstraints);
}

TControl::~TControl() {
    BeginDestruction();
    DestroyOwnedComponents();
    if (parent_)
        parent_->RemoveControl(this);
    if (widget_) {
        widget_->hide();
        delete widget_.data();
    }
}

void TControl::BeginDestruction() {
    if (quiet_)
        return;
    quiet_ = true;
    if (!widget_)
        return;
    for (QObject* inner : widget_->findChildren<QObject*>())
        QObject::disconnect(inner, nullptr, this, nullptr);
    QObject::disconnect(widget_, nullptr, this, nullptr);
}

TControl* TControl::ControlOf(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        if (auto* control =
                qobject_cast<TControl*>(widget->property(controlProperty).value<QObject*>()))
            return (control->quiet_ || control->IsFreed()) ? nullptr : control;
    }
    return nullptr;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_)
        return;
    if (parent_)
        parent_->RemoveControl(this);
    parent_ = parent;
    if (parent_)
        parent_->InsertControl(this);
    else
        widget_->setParent(nullptr);
    UpdateShowing();
}

void TControl::SetLeft(int left) {
    const QRect r = BoundsRect();
    SetBounds(left, r.y(), r.width(), r.height());
}

void TControl::SetTop(int top) {
    const QRect r = BoundsRect();
    SetBounds(r.x(), top, r.width(), r.height());
}

void TControl::SetWidth(int width) {
    const QRect r = BoundsRect();
    SetBounds(r.x(), r.y(), width, r.height());
}

void TControl::SetHeight(int height) {
    const QRect r = BoundsRect();
    SetBounds(r.x(), r.y(), r.width(), height);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    SetBoundsRect(QRect(left, top, qMax(0, width), qMax(0, height)));
    CaptureAnchorBase();
    NotifyParentLayout();
}

QRect TControl::BoundsRect() const {
    return widget_->geometry();
}

void TControl::SetBoundsRect(const QRect& rect) {
    widget_->setGeometry(rect);
}

void TControl::SetCursor(int cursor) {
    cursor_ = cursor;
    if (cursor == 0)
        widget_->unsetCursor();
    else
        widget_->setCursor(Cursors::toQt(cursor));
}

void TControl::SetHint(const QByteArray& hint) {
    hint_ = hint;
    ApplyHint();
}

void TControl::SetShowHint(bool show) {
    showHint_ = show;
    ApplyHint();
}

void TControl::ApplyHint() {
    widget_->setToolTip(showHint_ ? Win1250::toWide(hint_) : QString());
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    UpdateShowing();
    NotifyParentLayout();
}

void TControl::UpdateShowing() {
    widget_->setVisible(visible_ && parent_ && !IsFreed());
}

void TControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    widget_->setEnabled(enabled);
}

void TControl::SetColor(int color) {
    color_ = color;
    colorSet_ = color != defaultColor_;
    ApplyColor();
}

void TControl::ApplyColor() {
    widget_->setPalette(withColour(widget_->palette(), ColorRole(),
                                   Colors::toQColor(color_, QApplication::palette())));
    if (ColorRole() == QPalette::Window && !widget_->isWindow())
        widget_->setAutoFillBackground(colorSet_);
}

void TControl::SetAnchors(Vcl::TAnchors anchors) {
    anchors_ = anchors;
    CaptureAnchorBase();
}

void TControl::SetAlign(Vcl::TAlign align) {
    align_ = align;
    NotifyParentLayout();
}

void TControl::SetTabOrder(int order) {
    tabOrder_ = order;
    if (parent_)
        parent_->ApplyTabOrder();
}

void TControl::SetTabStop(bool stop) {
    tabStop_ = stop;
    widget_->setFocusPolicy(stop ? Qt::StrongFocus : Qt::ClickFocus);
}

void TControl::ApplyFont() {
    QFont font = QApplication::font();
    if (font_->Name() != "MS Sans Serif")
        font.setFamily(Win1250::toWide(font_->Name()));
    font.setPixelSize(qMax(1, qRound(font_->Size() * 96.0 / 72.0)));
    font.setBold(font_->Style().testFlag(Vcl::TFontStyle::fsBold));
    font.setItalic(font_->Style().testFlag(Vcl::TFontStyle::fsItalic));
    font.setUnderline(font_->Style().testFlag(Vcl::TFontStyle::fsUnderline));
    font.setStrikeOut(font_->Style().testFlag(Vcl::TFontStyle::fsStrikeOut));
    widget_->setFont(font);
}

void TControl::ApplyConstraints() {
    widget_->setMinimumSize(constraints_->MinWidth(), constraints_->MinHeight());
    widget_->setMaximumSize(
        constraints_->MaxWidth() > 0 ? constraints_->MaxWidth() : QWIDGETSIZE_MAX,
        constraints_->MaxHeight() > 0 ? constraints_->MaxHeight() : QWIDGETSIZE_MAX);
}

TCustomForm* TControl::ParentForm() const {
    const TControl* control = this;
    while (control->parent_)
        control = control->parent_;
    return qobject_cast<TCustomForm*>(const_cast<TControl*>(control));
}

void TControl::CaptureAnchorBase() {
    anchorRect_ = BoundsRect();
    anchorParentSize_ = parent_ ? parent_->Container()->size() : QSize();
}

void TControl::ApplyAnchors(QSize parentSize) {
    if (align_ != Vcl::TAlign::alNone || !anchorParentSize_.isValid())
        return;
    using Vcl::TAnchorKind;
    QRect r = anchorRect_;
    const int dx = parentSize.width() - anchorParentSize_.width();
    const int dy = parentSize.height() - anchorParentSize_.height();
    if (anchors_.testFlag(TAnchorKind::akRight)) {
        if (anchors_.testFlag(TAnchorKind::akLeft))
            r.setWidth(qMax(0, r.width() + dx));
        else
            r.moveLeft(r.left() + dx);
    }
    if (anchors_.testFlag(TAnchorKind::akBottom)) {
        if (anchors_.testFlag(TAnchorKind::akTop))
            r.setHeight(qMax(0, r.height() + dy));
        else
            r.moveTop(r.top() + dy);
    }
    SetBoundsRect(r);
}

void TControl::NotifyParentLayout() {
    if (parent_ && align_ != Vcl::TAlign::alNone)
        parent_->Realign();
}

void TControl::Freeing() {
    // Freed together with the windowed control it sits in, the control goes with
    // that one's window; only the top of a freed tree leaves its place at once.
    if (parent_ && parent_->IsFreed())
        return;
    if (parent_)
        parent_->RemoveControl(this);
    parent_ = nullptr;
    // Hidden, the widget takes no part in its window any more; it leaves it when it
    // is deleted. (Taking it out now would walk the window's focus chain for every
    // freed control.)
    widget_->hide();
}

void TControl::Fire(const MethodRef& handler) {
    if (!IsFreed() && !quiet_)
        EventDispatch::fire(handler, this);
}

void TControl::WatchInner(QWidget* inner) {
    inner->setAttribute(Qt::WA_NoMousePropagation);
    inner->setMouseTracking(true);
    inner->installEventFilter(this);
}

bool TControl::eventFilter(QObject* watched, QEvent* event) {
    bool consumed = false;
    if (quiet_ || IsFreed())
        return false;
    EntryGuard::guardEntry([&] {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::ContextMenu:
            HandleMouse(watched, event);
            break;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            consumed = HandleKey(watched, event);
            break;
        default:
            break;
        }
    });
    return consumed;
}

void TControl::HandleMouse(QObject* watched, QEvent* event) {
    QPointer<TControl> alive(this);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        leftPressed_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        Fire(OnMouseDown);
        break;
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const bool click =
            leftPressed_ && mouse->button() == Qt::LeftButton &&
            static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint());
        leftPressed_ = false;
        if (click && ClickOnMouseRelease())
            Fire(OnClick);
        if (alive)
            Fire(OnMouseUp);
        break;
    }
    case QEvent::MouseButtonDblClick:
        Fire(OnDblClick);
        break;
    case QEvent::MouseMove:
        Fire(OnMouseMove);
        break;
    default:
        Fire(OnContextPopup);
        break;
    }
}

bool TControl::HandleKey(QObject* watched, QEvent* event) {
    // A key goes first to the focus widget and then, when ignored, to its
    // parents; the control that has the focus reports it once.
    QWidget* focus = QApplication::focusWidget();
    if (watched != (focus ? focus : widget_.data()))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    KeyRepeat::note(*key);
    QPointer<TControl> alive(this);
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview())
        form->FireKey(key);
    if (!alive || IsFreed())
        return true;
    if (event->type() == QEvent::KeyPress) {
        Fire(OnKeyDown);
        if (alive && !key->text().isEmpty() && key->text().at(0).isPrint())
            Fire(OnKeyPress);
        if (alive && form)
            return form->HandleDialogKey(key, this);
    } else {
        Fire(OnKeyUp);
    }
    return false;
}

void TControl::TrackFocus(QWidget* old, QWidget* now) {
    TControl* left = ControlOf(old);
    TControl* entered = ControlOf(now);
    if (left == entered)
        return;
    QPointer<TControl> enteredAlive(entered);
    if (left)
        left->Fire(left->OnExit);
    if (enteredAlive)
        enteredAlive->Fire(enteredAlive->OnEnter);
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner, new QWidget) {}

TWinControl::TWinControl(TComponent* owner) : TWinControl(owner, new QWidget) {}

TWinControl::TWinControl(TComponent* owner, QWidget* widget, int defaultColor)
    : TControl(owner, widget, defaultColor) {}

TWinControl::~TWinControl() {
    BeginDestruction();
    DestroyOwnedComponents();
    for (const QPointer<TControl>& control : QList(controls_))
        delete control.data();
}

QList<TControl*> TWinControl::Controls() const {
    QList<TControl*> placed;
    for (const QPointer<TControl>& control : controls_) {
        if (control)
            placed.append(control);
    }
    return placed;
}

void TWinControl::InsertControl(TControl* control) {
    controls_.append(control);
    QWidget* w = control->Widget();
    const QRect r = w->geometry();
    w->setParent(Container());
    w->setGeometry(r);
    control->CaptureAnchorBase();
    if (control->Align() != Vcl::TAlign::alNone)
        Realign();
    // A control without a tab order of its own leaves the others' order as it is.
    if (control->TabOrder() >= 0)
        ApplyTabOrder();
}

void TWinControl::RemoveControl(TControl* control) {
    controls_.removeAll(control);
    controls_.removeAll(nullptr);
}

void TWinControl::Freeing() {
    // Like its owned components, a windowed control takes the controls placed
    // inside it along.
    for (TControl* control : Controls())
        control->Free();
    TControl::Freeing();
}

QRect TWinControl::AlignRect() const {
    return Container()->rect();
}

void TWinControl::Realign() {
    if (realigning_ || Quiet())
        return;
    realigning_ = true;
    using Vcl::TAlign;
    QRect area = AlignRect();
    for (TAlign side :
         {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
        for (TControl* c : Controls()) {
            if (c->Align() != side || !c->Visible())
                continue;
            const QRect r = c->BoundsRect();
            QRect placed;
            switch (side) {
            case TAlign::alTop:
                placed = QRect(area.left(), area.top(), area.width(), r.height());
                area.setTop(area.top() + r.height());
                break;
            case TAlign::alBottom:
                placed =
                    QRect(area.left(), area.bottom() + 1 - r.height(), area.width(), r.height());
                area.setBottom(area.bottom() - r.height());
                break;
            case TAlign::alLeft:
                placed = QRect(area.left(), area.top(), r.width(), area.height());
                area.setLeft(area.left() + r.width());
                break;
            case TAlign::alRight:
                placed = QRect(area.right() + 1 - r.width(), area.top(), r.width(), area.height());
                area.setRight(area.right() - r.width());
                break;
            default:
                placed = area;
                break;
            }
            c->SetBoundsRect(placed);
        }
    }
    realigning_ = false;
}

bool TWinControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Container() && event->type() == QEvent::Resize && !Quiet() && !IsFreed()) {
        // Until the form has been on screen the sizes are the sheet's design:
        // anchors take them as they are. Afterwards they follow resizes.
        const TCustomForm* form = ParentForm();
        const bool designing = !form || !form->WasShown();
        for (TControl* control : Controls()) {
            if (designing)
                control->CaptureAnchorBase();
            else
                control->ApplyAnchors(Container()->size());
        }
        Realign();
    }
    return TControl::eventFilter(watched, event);
}

void TWinControl::ApplyTabOrder() {
    QList<TControl*> ordered;
    for (TControl* c : Controls()) {
        if (c->TabOrder() >= 0)
            ordered.append(c);
    }
    std::stable_sort(ordered.begin(), ordered.end(), [](const TControl* a, const TControl* b) {
        return a->TabOrder() < b->TabOrder();
    });
    for (qsizetype i = 1; i < ordered.size(); ++i)
        QWidget::setTabOrder(ordered[i - 1]->Widget(), ordered[i]->Widget());
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner, new QWidget) {}
