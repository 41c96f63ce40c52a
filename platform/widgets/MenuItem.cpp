#include "platform/widgets/MenuItem.h"

#include "platform/Win1250.h"
#include "platform/components/EventDispatch.h"

#include <QAction>

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), action_(new QAction) {
    connect(action_, &QAction::triggered, this, &TMenuItem::Triggered);
}

TMenuItem::~TMenuItem() {
    delete action_.data();
}

void TMenuItem::SetCaption(const QByteArray& caption) {
    caption_ = caption;
    action_->setText(Win1250::toWide(caption));
    action_->setSeparator(caption == "-");
}

void TMenuItem::SetHint(const QByteArray& hint) {
    hint_ = hint;
    action_->setStatusTip(Win1250::toWide(hint));
    action_->setToolTip(Win1250::toWide(hint));
}

bool TMenuItem::Checked() const {
    return action_->isChecked();
}

void TMenuItem::SetChecked(bool checked) {
    action_->setCheckable(true);
    action_->setChecked(checked);
    if (checked && radioItem_)
        UncheckGroupSiblings();
}

// Radio items of one group index under one owner exclude each other.
void TMenuItem::UncheckGroupSiblings() {
    TComponent* owner = Owner();
    if (!owner)
        return;
    for (TComponent* sibling : owner->Components()) {
        auto* item = qobject_cast<TMenuItem*>(sibling);
        if (item && item != this && item->radioItem_ && item->groupIndex_ == groupIndex_)
            item->action_->setChecked(false);
    }
}

bool TMenuItem::Enabled() const {
    return action_->isEnabled();
}

void TMenuItem::SetEnabled(bool enabled) {
    action_->setEnabled(enabled);
}

bool TMenuItem::Visible() const {
    return action_->isVisible();
}

void TMenuItem::SetVisible(bool visible) {
    action_->setVisible(visible);
}

void TMenuItem::SetRadioItem(bool radio) {
    radioItem_ = radio;
    if (radio && Checked())
        UncheckGroupSiblings();
}

void TMenuItem::SetShortCut(int shortCut) {
    shortCut_ = shortCut;
    int key = shortCut & 0xFF;
    if (shortCut & 0x2000)
        key |= Qt::SHIFT;
    if (shortCut & 0x4000)
        key |= Qt::CTRL;
    if (shortCut & 0x8000)
        key |= Qt::ALT;
    action_->setShortcut(shortCut ? QKeySequence(key) : QKeySequence());
}

void TMenuItem::Triggered() {
    if (!IsFreed())
        EventDispatch::fire(OnClick, this);
}
