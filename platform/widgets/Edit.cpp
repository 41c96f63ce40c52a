#include "platform/widgets/Edit.h"

#include "platform/Win1250.h"
#include "platform/widgets/EditInputRule.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>

TCustomEdit::TCustomEdit(TComponent* owner) : TCustomEdit(owner, new QLineEdit) {}

TCustomEdit::TCustomEdit(TComponent* owner, QWidget* widget)
    : TWinControl(owner, widget, Colors::clWindow) {
    SetTabStop(true);
    ApplyColor();
}

void TCustomEdit::SelectAllOnEntry(QLineEdit* editor) {
    selectOnEntry_ = editor;
    if (editor != Widget())
        WatchInner(editor);
}

// In the default colour an enabled edit looks the same with the palette it
// inherits, so it gets a palette of its own only when coloured or disabled
// (itself or through a parent). A sheet's edits are mostly enabled and
// uncoloured, and an own palette costs resolving again at every reparent.
void TCustomEdit::ApplyColor() {
    if (ColorIsSet() || !Widget()->isEnabled()) {
        TWinControl::ApplyColor();
        ownPalette_ = true;
    } else if (ownPalette_) {
        Widget()->setPalette(QPalette());
        ownPalette_ = false;
    }
}

bool TCustomEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Widget() && event->type() == QEvent::EnabledChange && !Quiet() && !IsFreed())
        ApplyColor();
    if (selectOnEntry_ && watched == selectOnEntry_ && event->type() == QEvent::FocusIn) {
        // Qt selects everything on tab entry by itself; AutoSelect decides.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            QTimer::singleShot(0, selectOnEntry_,
                               autoSelect_ ? &QLineEdit::selectAll : &QLineEdit::deselect);
    }
    return TWinControl::eventFilter(watched, event);
}

TEdit::TEdit(TComponent* owner)
    : TCustomEdit(owner, new QLineEdit), rule_(new EditInputRule(Editor())) {
    Editor()->setValidator(rule_);
    SelectAllOnEntry(Editor());
    SetBounds(0, 0, 121, 21);
    SetAutoSize(true);
    connect(Editor(), &QLineEdit::textChanged, this, [this] { Fire(OnChange); });
}

QLineEdit* TEdit::Editor() const {
    return static_cast<QLineEdit*>(Widget());
}

QByteArray TEdit::Text() const {
    return Win1250::fromWide(Editor()->text());
}

void TEdit::SetText(const QByteArray& text) {
    rule_->assign(Editor(), Win1250::toWide(text));
}

int TEdit::MaxLength() const {
    return rule_->maxLength();
}

void TEdit::SetMaxLength(int length) {
    rule_->setMaxLength(length);
}

bool TEdit::ReadOnly() const {
    return Editor()->isReadOnly();
}

void TEdit::SetReadOnly(bool readOnly) {
    Editor()->setReadOnly(readOnly);
}

// An auto-sized edit takes the height its font needs (21 pixels for the
// application font), as sheets laid out for that font expect.
void TEdit::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (autoSize)
        SetHeight(Editor()->fontMetrics().height() + 8);
}

void TEdit::SetPasswordChar(uchar code) {
    passwordChar_ = code;
    Editor()->setEchoMode(code ? QLineEdit::Password : QLineEdit::Normal);
    Editor()->setStyleSheet(code ? QStringLiteral("QLineEdit { lineedit-password-character: %1; }")
                                       .arg(Win1250::toUnicode(code))
                                 : QString());
}

Vcl::TEditCharCase TEdit::CharCase() const {
    return rule_->charCase();
}

void TEdit::SetCharCase(Vcl::TEditCharCase charCase) {
    rule_->setCharCase(charCase);
    if (rule_->inCase(Editor()->text()) != Editor()->text())
        rule_->assign(Editor(), Editor()->text());
}

void TEdit::SetBorderStyle(Vcl::TBorderStyle style) {
    borderStyle_ = style;
    Editor()->setFrame(style == Vcl::TBorderStyle::bsSingle);
}
