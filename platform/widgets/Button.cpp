#include "platform/widgets/Button.h"

#include "platform/Win1250.h"
#include "platform/widgets/Form.h"

#include <QPushButton>

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner, new QPushButton) {}

TButton::TButton(TComponent* owner) : TButtonControl(owner, new QPushButton) {
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
    connect(Button(), &QPushButton::clicked, this, &TButton::Clicked);
}

QPushButton* TButton::Button() const {
    return static_cast<QPushButton*>(Widget());
}

void TButton::SetCaption(const QByteArray& caption) {
    caption_ = caption;
    ShowCaption();
}

void TButton::SetDefault(bool isDefault) {
    default_ = isDefault;
    Button()->setDefault(isDefault);
}

void TButton::SetWordWrap(bool wrap) {
    wordWrap_ = wrap;
    ShowCaption();
}

// QPushButton never wraps by itself: break the caption into lines that fit.
void TButton::ShowCaption() {
    const QString text = Win1250::toWide(caption_);
    if (!wordWrap_) {
        Button()->setText(text);
        return;
    }
    const QFontMetrics metrics(Button()->font());
    const int room = qMax(1, Button()->width() - 8);
    QStringList lines;
    for (const QString& word : text.split(QLatin1Char(' '))) {
        if (!lines.isEmpty() &&
            metrics.horizontalAdvance(lines.last() + QLatin1Char(' ') + word) <= room)
            lines.last() += QLatin1Char(' ') + word;
        else
            lines.append(word);
    }
    Button()->setText(lines.join(QLatin1Char('\n')));
}

void TButton::Click() {
    Button()->click();
}

void TButton::Clicked() {
    QPointer<TButton> alive(this);
    Fire(OnClick);
    if (!alive || IsFreed() || modalResult_ == 0)
        return;
    if (TCustomForm* form = ParentForm())
        form->SetModalResult(modalResult_);
}

// A wrapped caption follows the button's width.
void TButton::SetBoundsRect(const QRect& rect) {
    TButtonControl::SetBoundsRect(rect);
    if (wordWrap_)
        ShowCaption();
}
