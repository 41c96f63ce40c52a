#pragma once

#include "platform/widgets/Control.h"
#include "platform/widgets/Published.h"

class QLabel;

// A text label without a window of its own. With ShowAccelChar, "&" marks the
// next character as the accelerator (underlined) and "&&" stands for "&".
class TCustomLabel : public TGraphicControl {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TCustomLabel(TComponent* owner = nullptr);

    const QByteArray& Caption() const { return caption_; }
    void SetCaption(const QByteArray& caption);
    Vcl::TAlignment Alignment() const { return alignment_; }
    void SetAlignment(Vcl::TAlignment alignment);
    Vcl::TTextLayout Layout() const { return layout_; }
    void SetLayout(Vcl::TTextLayout layout);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);
    TWinControl* FocusControl() const { return nullptr; }

    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    // A size that waits to be measured is measured first.
    QRect BoundsRect() const override;
    QLabel* Label() const;
    void ApplyColor() override;
    void SetBoundsRect(const QRect& rect) override;

private:
    void ShowText();
    void ApplyAlignment();
    // Measuring lays the caption out (text shaping, the larger part of building a
    // label). A sheet sets caption, AutoSize and WordWrap one after another and
    // most of its labels sit on pages that are not shown, so a label that is not
    // on screen measures only when its size is asked for or it is shown.
    void AdjustSize();
    void MeasurePendingSize();
    QSize TextSize() const;

    QByteArray caption_;
    Vcl::TAlignment alignment_ = Vcl::TAlignment::taLeftJustify;
    Vcl::TTextLayout layout_ = Vcl::TTextLayout::tlTop;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool showAccelChar_ = true;
    bool sizePending_ = false;
};

class TLabel : public TCustomLabel {
    Q_OBJECT
    KONFIDOR_PUBLISH_SHOWING
    KONFIDOR_PUBLISH_INPUT
    KONFIDOR_PUBLISH_ANCHORS
    Q_PROPERTY(QByteArray Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(Vcl::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(Vcl::TTextLayout Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE SetShowAccelChar)
    Q_PROPERTY(TWinControl* FocusControl READ FocusControl)
    Q_PROPERTY(TNotifyEvent OnClick MEMBER OnClick)
    Q_PROPERTY(TNotifyEvent OnDblClick MEMBER OnDblClick)
    KONFIDOR_PUBLISH_MOUSE_EVENTS
public:
    Q_INVOKABLE explicit TLabel(TComponent* owner = nullptr) : TCustomLabel(owner) {}
};
