#include "app/TPanel.h"

#include <QFrame>

namespace {

QFrame* etchedFrame() {
    auto* frame = new QFrame;
    // A sunken box with one-pixel lines: the outer line lowered, the inner one raised.
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setLineWidth(1);
    frame->setMidLineWidth(0);
    return frame;
}

} // namespace

TPanel::TPanel(TComponent* owner) : TCustomControl(owner, etchedFrame()) {
    SetBounds(0, 0, 185, 41);
}
