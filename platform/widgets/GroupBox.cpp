#include "platform/widgets/GroupBox.h"

#include "platform/Win1250.h"

#include <QGroupBox>

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner, new QGroupBox) {
    SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::SetCaption(const QByteArray& caption) {
    caption_ = caption;
    static_cast<QGroupBox*>(Widget())->setTitle(Win1250::toWide(caption));
}

// Aligned children share the area inside the frame and below the caption.
QRect TCustomGroupBox::AlignRect() const {
    const int captionHeight = Widget()->fontMetrics().height();
    return Widget()->rect().adjusted(2, captionHeight, -2, -2);
}
