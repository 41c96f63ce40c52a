#pragma once

#include "platform/widgets/Control.h"
#include "platform/widgets/Published.h"

class QGroupBox;

class TCustomGroupBox : public TCustomControl {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TCustomGroupBox(TComponent* owner = nullptr);

    const QByteArray& Caption() const { return caption_; }
    void SetCaption(const QByteArray& caption);

protected:
    QRect AlignRect() const override;

private:
    QByteArray caption_;
};

// A frame with a caption that groups the controls placed inside it.
class TGroupBox : public TCustomGroupBox {
    Q_OBJECT
    KONFIDOR_PUBLISH_SHOWING
    KONFIDOR_PUBLISH_INPUT
    KONFIDOR_PUBLISH_ANCHORS
    Q_PROPERTY(QByteArray Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
    KONFIDOR_PUBLISH_TAB_STOP
    Q_PROPERTY(TNotifyEvent OnClick MEMBER OnClick)
    Q_PROPERTY(TNotifyEvent OnDblClick MEMBER OnDblClick)
    KONFIDOR_PUBLISH_FOCUS_EVENTS
    KONFIDOR_PUBLISH_MOUSE_EVENTS
public:
    Q_INVOKABLE explicit TGroupBox(TComponent* owner = nullptr) : TCustomGroupBox(owner) {}
};
