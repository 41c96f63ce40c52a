#include "platform/widgets/Label.h"

#include "platform/EntryGuard.h"
#include "platform/Win1250.h"

#include <QEvent>
#include <QLabel>

namespace {

// Caption text as rich text: "&x" underlines x, "&&" is a plain "&".
QString withAccelerator(const QString& caption) {
    QString html;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) {
            ++i;
            const QString c = QString(caption[i]).toHtmlEscaped();
            html += caption[i] == QLatin1Char('&') ? c : QStringLiteral("<u>%1</u>").arg(c);
        } else {
            html += QString(caption[i]).toHtmlEscaped();
        }
    }
    return html;
}

} // namespace

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner, new QLabel) {
    Label()->setTextFormat(Qt::PlainText);
    SetBounds(0, 0, 32, 13);
    ApplyAlignment();
}

QLabel* TCustomLabel::Label() const {
    return static_cast<QLabel*>(Widget());
}

void TCustomLabel::SetCaption(const QByteArray& caption) {
    caption_ = caption;
    ShowText();
}

void TCustomLabel::ShowText() {
    const QString text = Win1250::toWide(caption_);
    if (showAccelChar_ && text.contains(QLatin1Char('&'))) {
        Label()->setTextFormat(Qt::RichText);
        Label()->setText(withAccelerator(text).replace(QLatin1Char('\n'), QLatin1String("<br>")));
    } else {
        Label()->setTextFormat(Qt::PlainText);
        Label()->setText(text);
    }
    AdjustSize();
}

void TCustomLabel::SetAlignment(Vcl::TAlignment alignment) {
    alignment_ = alignment;
    ApplyAlignment();
}

void TCustomLabel::SetLayout(Vcl::TTextLayout layout) {
    layout_ = layout;
    ApplyAlignment();
}

void TCustomLabel::ApplyAlignment() {
    Qt::Alignment a;
    switch (alignment_) {
    case Vcl::TAlignment::taRightJustify:
        a = Qt::AlignRight;
        break;
    case Vcl::TAlignment::taCenter:
        a = Qt::AlignHCenter;
        break;
    default:
        a = Qt::AlignLeft;
        break;
    }
    switch (layout_) {
    case Vcl::TTextLayout::tlCenter:
        a |= Qt::AlignVCenter;
        break;
    case Vcl::TTextLayout::tlBottom:
        a |= Qt::AlignBottom;
        break;
    default:
        a |= Qt::AlignTop;
        break;
    }
    Label()->setAlignment(a);
}

// A size still to be measured is measured as it was asked for, before AutoSize
// or WordWrap change how the next one is.
void TCustomLabel::SetAutoSize(bool autoSize) {
    MeasurePendingSize();
    autoSize_ = autoSize;
    AdjustSize();
}

void TCustomLabel::SetWordWrap(bool wrap) {
    MeasurePendingSize();
    wordWrap_ = wrap;
    Label()->setWordWrap(wrap);
    AdjustSize();
}

void TCustomLabel::AdjustSize() {
    if (!autoSize_)
        return;
    sizePending_ = true;
    if (Label()->isVisible())
        MeasurePendingSize();
}

QRect TCustomLabel::BoundsRect() const {
    const_cast<TCustomLabel*>(this)->MeasurePendingSize();
    return TGraphicControl::BoundsRect();
}

bool TCustomLabel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label() && event->type() == QEvent::Show && !IsFreed())
        EntryGuard::guardEntry([this] { MeasurePendingSize(); });
    return TGraphicControl::eventFilter(watched, event);
}

// With AutoSize the label takes the size of its text; a wrapping label keeps
// its width and takes the height the wrapped text needs.
void TCustomLabel::MeasurePendingSize() {
    if (!sizePending_)
        return;
    sizePending_ = false;
    const QRect r = BoundsRect();
    if (wordWrap_) {
        SetBounds(r.x(), r.y(), r.width(), r.height()); // the height follows the width
        return;
    }
    const QSize text = TextSize();
    SetBounds(r.x(), r.y(), text.width(), qMax(text.height(), 13));
}

// QLabel::sizeHint() lays the text out three times (for its size hint and both
// extremes of its minimum size hint). A plain, unwrapped caption on a label
// without frame, margin or indent takes the size of one layout of its text,
// which is what that hint comes to; other labels ask the hint.
QSize TCustomLabel::TextSize() const {
    QLabel* label = Label();
    const bool plain = label->textFormat() == Qt::PlainText && !label->wordWrap() &&
                       label->frameWidth() == 0 && label->margin() == 0 &&
                       label->indent() < 0 && label->contentsMargins().isNull() &&
                       label->layoutDirection() == Qt::LeftToRight;
    if (!plain)
        return label->sizeHint();
    label->ensurePolished();
    const int flags =
        (label->alignment() & ~(Qt::AlignVCenter | Qt::AlignHCenter)) | Qt::TextExpandTabs;
    const QRect bounds = label->fontMetrics().boundingRect(0, 0, 2000, 2000, flags, label->text());
    return bounds.size().expandedTo(label->minimumSize());
}

void TCustomLabel::SetTransparent(bool transparent) {
    transparent_ = transparent;
    ApplyColor();
}

void TCustomLabel::ApplyColor() {
    TGraphicControl::ApplyColor();
    Label()->setAutoFillBackground(!transparent_ && ColorIsSet());
}

void TCustomLabel::SetShowAccelChar(bool show) {
    showAccelChar_ = show;
    ShowText();
}

void TCustomLabel::SetBoundsRect(const QRect& rect) {
    QRect r = rect;
    if (autoSize_ && wordWrap_)
        r.setHeight(Label()->heightForWidth(r.width()));
    TGraphicControl::SetBoundsRect(r);
}
