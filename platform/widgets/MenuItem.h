#pragma once

#include "platform/components/Component.h"
#include "platform/components/EventTypes.h"

#include <QAction>
#include <QPointer>

// A menu entry, backed by a QAction that menus can show.
class TMenuItem : public TComponent {
    Q_OBJECT
    Q_PROPERTY(QByteArray Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QByteArray Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool RadioItem READ RadioItem WRITE SetRadioItem)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_CLASSINFO("Range:GroupIndex", "0..255")
    Q_PROPERTY(int ShortCut READ ShortCut WRITE SetShortCut)
    Q_CLASSINFO("Range:ShortCut", "0..65535")
    Q_PROPERTY(TNotifyEvent OnClick MEMBER OnClick)
public:
    Q_INVOKABLE explicit TMenuItem(TComponent* owner = nullptr);
    ~TMenuItem() override;

    QAction* Action() const { return action_; }

    const QByteArray& Caption() const { return caption_; }
    void SetCaption(const QByteArray& caption);
    const QByteArray& Hint() const { return hint_; }
    void SetHint(const QByteArray& hint);
    bool Checked() const;
    void SetChecked(bool checked);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool radio);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index) { groupIndex_ = index; }
    // The platform's shortcut code: virtual key in the low byte, $2000 Shift,
    // $4000 Ctrl, $8000 Alt.
    int ShortCut() const { return shortCut_; }
    void SetShortCut(int shortCut);

protected:
    TNotifyEvent OnClick;

private:
    void Triggered();
    void UncheckGroupSiblings();

    QPointer<QAction> action_;
    QByteArray caption_;
    QByteArray hint_;
    bool radioItem_ = false;
    int groupIndex_ = 0;
    int shortCut_ = 0;
};
