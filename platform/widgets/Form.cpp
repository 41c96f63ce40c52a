#include "platform/widgets/Form.h"

#include "platform/Error.h"
#include "platform/Win1250.h"
#include "platform/components/EventDispatch.h"
#include "platform/widgets/Button.h"
#include "platform/widgets/KeyRepeat.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QScopeGuard>
#include <QScreen>

namespace {

// Visits the controls placed in a windowed control, depth first.
template <typename Visit> TControl* findPlaced(const TWinControl* container, Visit&& visit) {
    for (TControl* control : container->Controls()) {
        if (visit(control))
            return control;
        if (auto* inner = qobject_cast<TWinControl*>(control)) {
            if (TControl* found = findPlaced(inner, visit))
                return found;
        }
    }
    return nullptr;
}

bool canPress(const TControl* control) {
    const QWidget* w = control->Widget();
    return w->isVisible() && w->isEnabled();
}

} // namespace

TScrollingWinControl::TScrollingWinControl(TComponent* owner) : TWinControl(owner, new QWidget) {}

TCustomForm::TCustomForm(TComponent* owner) : TScrollingWinControl(owner, new QWidget) {
    Widget()->setAttribute(Qt::WA_DeleteOnClose, false);
    Widget()->setAutoFillBackground(true);
    ApplyWindowFlags();
    ApplyColor();
    SetBounds(0, 0, 320, 240);
    SetVisible(false);
}

TCustomForm::~TCustomForm() {
    EndModal();
}

void TCustomForm::Show() {
    EventDispatch::ProgramAction action;
    SetVisible(true);
    if (Visible() && !IsFreed()) {
        Widget()->raise();
        Widget()->activateWindow();
    }
    action.finish();
}

void TCustomForm::Hide() {
    EventDispatch::ProgramAction action;
    SetVisible(false);
    action.finish();
}

void TCustomForm::Close() {
    EventDispatch::ProgramAction action;
    Widget()->close();
    action.finish();
}

namespace {
TCustomForm::HeadlessModal& headlessModal() {
    static TCustomForm::HeadlessModal observer;
    return observer;
}
} // namespace

void TCustomForm::setHeadlessModal(HeadlessModal observer) {
    headlessModal() = std::move(observer);
}

namespace {
constexpr const char* UsableDuringModalShows = "konfidorUsableDuringModalShows";
} // namespace

void TCustomForm::keepUsableDuringModalShows(QWidget* window) {
    window->setProperty(UsableDuringModalShows, true);
}

int TCustomForm::ShowModal() {
    if (Visible() || IsModal())
        throw Error(QStringLiteral("Cannot make a visible window modal"));
    if (const HeadlessModal& observer = headlessModal()) {
        observer(*this);
        Show();
        return Vcl::mrCancel;
    }
    // The form stays alive until the modal show returns, even when an event in
    // it frees the form.
    EventDispatch::InUse inUse;
    QList<QPointer<QWidget>> disabled;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != Widget() && window->isVisible() && window->isEnabled() &&
            !window->property(UsableDuringModalShows).toBool()) {
            window->setEnabled(false);
            disabled.append(window);
        }
    }
    QEventLoop loop;
    modalLoop_ = &loop;
    modalResult_ = Vcl::mrNone;
    const auto restore = qScopeGuard([&] {
        modalLoop_ = nullptr;
        for (const QPointer<QWidget>& window : disabled) {
            if (window)
                window->setEnabled(true);
        }
    });
    Show();
    if (Visible() && !IsFreed()) {
        EventDispatch::OperatorLoop operatorLoop;
        loop.exec();
    }
    if (modalResult_ == Vcl::mrNone)
        modalResult_ = Vcl::mrCancel;
    return modalResult_;
}

void TCustomForm::EndModal() {
    if (modalLoop_)
        modalLoop_->quit();
}

void TCustomForm::SetModalResult(int result) {
    modalResult_ = result;
    if (result != Vcl::mrNone && IsModal())
        Widget()->close();
}

void TCustomForm::SetCaption(const QByteArray& caption) {
    caption_ = caption;
    Widget()->setWindowTitle(Win1250::toWide(caption));
}

void TCustomForm::SetClientWidth(int width) {
    const Frame f = NominalFrame();
    SetWidth(width + 2 * f.side);
}

void TCustomForm::SetClientHeight(int height) {
    const Frame f = NominalFrame();
    SetHeight(height + f.top + f.bottom);
}

TCustomForm::Frame TCustomForm::NominalFrame() const {
    using Vcl::TFormBorderStyle;
    if (Parent())
        return {0, 0, 0};
    switch (borderStyle_) {
    case TFormBorderStyle::bsNone:
        return {0, 0, 0};
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsDialog:
        return {3, 22, 3};
    case TFormBorderStyle::bsToolWindow:
        return {3, 18, 3};
    case TFormBorderStyle::bsSizeToolWin:
        return {4, 19, 4};
    default:
        return {4, 23, 4};
    }
}

QRect TCustomForm::BoundsRect() const {
    const Frame f = NominalFrame();
    return Widget()->geometry().adjusted(-f.side, -f.top, f.side, f.bottom);
}

void TCustomForm::SetBoundsRect(const QRect& rect) {
    const Frame f = NominalFrame();
    QRect client = rect.adjusted(f.side, f.top, -f.side, -f.bottom);
    client.setSize(client.size().expandedTo(QSize(0, 0)));
    if (IsFixedSize())
        Widget()->setFixedSize(client.size());
    Widget()->setGeometry(client);
}

bool TCustomForm::IsFixedSize() const {
    using Vcl::TFormBorderStyle;
    return borderStyle_ == TFormBorderStyle::bsSingle ||
           borderStyle_ == TFormBorderStyle::bsDialog ||
           borderStyle_ == TFormBorderStyle::bsToolWindow;
}

void TCustomForm::SetBorderStyle(Vcl::TFormBorderStyle style) {
    const QRect bounds = BoundsRect();
    borderStyle_ = style;
    ApplyWindowFlags();
    if (!IsFixedSize()) {
        Widget()->setMinimumSize(0, 0);
        Widget()->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    SetBoundsRect(bounds);
}

void TCustomForm::SetBorderIcons(Vcl::TBorderIcons icons) {
    borderIcons_ = icons;
    ApplyWindowFlags();
}

void TCustomForm::SetFormStyle(Vcl::TFormStyle style) {
    formStyle_ = style;
    ApplyWindowFlags();
}

void TCustomForm::ApplyWindowFlags() {
    using Vcl::TBorderIcon;
    using Vcl::TFormBorderStyle;
    if (Parent())
        return;
    Qt::WindowFlags flags = Qt::Window;
    if (borderStyle_ == TFormBorderStyle::bsDialog)
        flags = Qt::Dialog;
    else if (borderStyle_ == TFormBorderStyle::bsToolWindow ||
             borderStyle_ == TFormBorderStyle::bsSizeToolWin)
        flags = Qt::Tool;
    if (borderStyle_ == TFormBorderStyle::bsNone) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (borderIcons_.testFlag(TBorderIcon::biSystemMenu))
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        // Dialogs and tool windows never get minimise and maximise buttons.
        if (!flags.testFlag(Qt::Dialog)) {
            if (borderIcons_.testFlag(TBorderIcon::biMinimize))
                flags |= Qt::WindowMinimizeButtonHint;
            if (borderIcons_.testFlag(TBorderIcon::biMaximize))
                flags |= Qt::WindowMaximizeButtonHint;
        }
        if (borderIcons_.testFlag(TBorderIcon::biHelp))
            flags |= Qt::WindowContextHelpButtonHint;
    }
    if (formStyle_ == Vcl::TFormStyle::fsStayOnTop)
        flags |= Qt::WindowStaysOnTopHint;
    const bool shown = Widget()->isVisible();
    Widget()->setWindowFlags(flags);
    if (shown)
        Widget()->show(); // setWindowFlags hides the window
}

void TCustomForm::SetWindowState(Vcl::TWindowState state) {
    windowState_ = state;
    switch (state) {
    case Vcl::TWindowState::wsMinimized:
        Widget()->setWindowState(Qt::WindowMinimized);
        break;
    case Vcl::TWindowState::wsMaximized:
        Widget()->setWindowState(Qt::WindowMaximized);
        break;
    default:
        Widget()->setWindowState(Qt::WindowNoState);
        break;
    }
}

void TCustomForm::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (autoSize)
        FitToChildren();
}

void TCustomForm::FitToChildren() {
    QRect used;
    for (TControl* control : Controls()) {
        if (control->Visible())
            used |= QRect(control->Left(), control->Top(), control->Width(), control->Height());
    }
    if (used.isValid()) {
        SetClientWidth(used.right() + 1 + qMax(0, used.left()));
        SetClientHeight(used.bottom() + 1 + qMax(0, used.top()));
    }
}

TControl* TCustomForm::ActiveControl() const {
    QWidget* focus = Widget()->focusWidget();
    TControl* control = focus ? ControlOf(focus) : nullptr;
    return control == this ? nullptr : control;
}

void TCustomForm::UpdateShowing() {
    if (Parent()) {
        TScrollingWinControl::UpdateShowing();
        return;
    }
    const bool show = Visible() && !IsFreed();
    if (show == Widget()->isVisible())
        return;
    if (show) {
        if (autoSize_)
            FitToChildren();
        PlaceOnShow();
        Widget()->show();
        wasShown_ = true;
    } else {
        Widget()->hide();
    }
}

void TCustomForm::PlaceOnShow() {
    using Vcl::TPosition;
    QRect area;
    if (position_ == TPosition::poScreenCenter || position_ == TPosition::poDesktopCenter) {
        if (QScreen* screen = QGuiApplication::primaryScreen())
            area = screen->availableGeometry();
    } else if (position_ == TPosition::poMainFormCenter ||
               position_ == TPosition::poOwnerFormCenter) {
        QWidget* active = QApplication::activeWindow();
        if (active && active != Widget())
            area = active->frameGeometry();
        else if (QScreen* screen = QGuiApplication::primaryScreen())
            area = screen->availableGeometry();
    }
    if (!area.isValid())
        return;
    QRect bounds = BoundsRect();
    bounds.moveCenter(area.center());
    SetBoundsRect(bounds);
}

void TCustomForm::Freeing() {
    // OnDestroy is the form's last event; the form is still whole here.
    EventDispatch::fire(OnDestroy, this);
    EndModal();
    TScrollingWinControl::Freeing();
}

void TCustomForm::FireKey(QKeyEvent* key) {
    if (key->type() == QEvent::KeyPress) {
        Fire(OnKeyDown);
        if (!key->text().isEmpty() && key->text().at(0).isPrint())
            Fire(OnKeyPress);
    } else {
        Fire(OnKeyUp);
    }
}

bool TCustomForm::HandleDialogKey(QKeyEvent* key, TControl* focused) {
    TControl* button = nullptr;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (qobject_cast<TButton*>(focused))
            button = focused;
        else
            button = findPlaced(this, [](TControl* c) {
                auto* b = qobject_cast<TButton*>(c);
                return b && b->Default() && canPress(b);
            });
        break;
    case Qt::Key_Escape:
        button = findPlaced(this, [](TControl* c) {
            auto* b = qobject_cast<TButton*>(c);
            return b && b->Cancel() && canPress(b);
        });
        break;
    default:
        break;
    }
    if (!button)
        return false;
    // A held key presses its button once: the repeats are taken here, also from the
    // button itself (a default QPushButton would click on each).
    if (!KeyRepeat::isRepeat(*key))
        static_cast<TButton*>(button)->Click();
    return true;
}

bool TCustomForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Widget() && !Quiet() && !IsFreed()) {
        switch (event->type()) {
        case QEvent::Show:
            Fire(OnShow);
            break;
        case QEvent::Hide:
            if (!Widget()->isVisible() && Visible() && !Parent())
                SetVisible(false); // the window manager or close hid it
            EndModal();
            Fire(OnHide);
            break;
        case QEvent::Resize:
            Fire(OnResize);
            break;
        case QEvent::WindowActivate:
            Fire(OnActivate);
            break;
        case QEvent::WindowDeactivate:
            Fire(OnDeactivate);
            break;
        case QEvent::Paint:
            Fire(OnPaint);
            break;
        case QEvent::Close:
            // Closing stays allowed and the close action stays hide: the bound
            // handlers only learn about it.
            Fire(OnCloseQuery);
            Fire(OnClose);
            if (IsModal() && modalResult_ == Vcl::mrNone)
                modalResult_ = Vcl::mrCancel;
            break;
        default:
            break;
        }
    }
    return TScrollingWinControl::eventFilter(watched, event);
}
