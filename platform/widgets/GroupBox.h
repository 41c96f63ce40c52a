#pragma once

#include "platform/widgets/Control.h"

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
    Q_PROPERTY(QByteArray Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_CLASSINFO("Range:TabOrder", "-1..32767")
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_PROPERTY(TNotifyEvent OnClick MEMBER OnClick)
    Q_PROPERTY(TNotifyEvent OnDblClick MEMBER OnDblClick)
    Q_PROPERTY(TNotifyEvent OnEnter MEMBER OnEnter)
    Q_PROPERTY(TNotifyEvent OnExit MEMBER OnExit)
    Q_PROPERTY(TMouseEvent OnMouseDown MEMBER OnMouseDown)
    Q_PROPERTY(TMouseEvent OnMouseUp MEMBER OnMouseUp)
    Q_PROPERTY(TMouseMoveEvent OnMouseMove MEMBER OnMouseMove)
    Q_PROPERTY(TContextPopupEvent OnContextPopup MEMBER OnContextPopup)
public:
    Q_INVOKABLE explicit TGroupBox(TComponent* owner = nullptr) : TCustomGroupBox(owner) {}
};
