#include "platform/widgets/SpinEdit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <limits>

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner, new QSpinBox) {
    SelectAllOnEntry(Editor());
    ApplyLimits();
    SetBounds(0, 0, 121, 22);
    connect(Spin(), &QSpinBox::textChanged, this, [this] { Fire(OnChange); });
}

QSpinBox* TSpinEdit::Spin() const {
    return static_cast<QSpinBox*>(Widget());
}

QLineEdit* TSpinEdit::Editor() const {
    return Widget()->findChild<QLineEdit*>();
}

int TSpinEdit::Value() const {
    return WithinLimits(Spin()->value());
}

void TSpinEdit::SetValue(int value) {
    Spin()->setValue(WithinLimits(value));
}

int TSpinEdit::WithinLimits(int value) const {
    if (!LimitsInForce())
        return value;
    if (value < minValue_)
        return minValue_;
    return value > maxValue_ ? maxValue_ : value;
}

void TSpinEdit::SetMinValue(int value) {
    minValue_ = value;
    ApplyLimits();
}

void TSpinEdit::SetMaxValue(int value) {
    maxValue_ = value;
    ApplyLimits();
}

// QSpinBox would clamp one limit against the other; our own limits stay as
// given and the spin box gets its range only from limits in force.
void TSpinEdit::ApplyLimits() {
    if (LimitsInForce())
        Spin()->setRange(minValue_, maxValue_);
    else
        Spin()->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

int TSpinEdit::Increment() const {
    return Spin()->singleStep();
}

void TSpinEdit::SetIncrement(int increment) {
    Spin()->setSingleStep(increment);
}

void TSpinEdit::SetEditorEnabled(bool enabled) {
    editorEnabled_ = enabled;
    Editor()->setReadOnly(!enabled || Spin()->isReadOnly());
}

bool TSpinEdit::ReadOnly() const {
    return Spin()->isReadOnly();
}

void TSpinEdit::SetReadOnly(bool readOnly) {
    Spin()->setReadOnly(readOnly);
    Editor()->setReadOnly(readOnly || !editorEnabled_);
}

bool TSpinEdit::refusesTyping(QEvent* event) const {
    if (maxLength_ <= 0 || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool inserts = !key->text().isEmpty() && key->text().at(0).isPrint();
    return inserts && !Editor()->hasSelectedText() && Editor()->text().size() >= maxLength_;
}

bool TSpinEdit::eventFilter(QObject* watched, QEvent* event) {
    const bool consumed = TCustomEdit::eventFilter(watched, event);
    // The spin box hands its keys to its editor directly, past any filter.
    if (!consumed && (watched == Widget() || watched == Editor()) && refusesTyping(event))
        return true;
    return consumed;
}
