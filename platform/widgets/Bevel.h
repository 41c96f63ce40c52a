#pragma once

#include "platform/widgets/Control.h"
#include "platform/widgets/Published.h"

// A lowered or raised box, frame or line that decorates a form. It takes no
// input and publishes no events.
class TBevel : public TGraphicControl {
    Q_OBJECT
    KONFIDOR_PUBLISH_SHOWING
    KONFIDOR_PUBLISH_ANCHORS
    Q_PROPERTY(Vcl::TBevelShape Shape READ Shape WRITE SetShape)
    Q_PROPERTY(Vcl::TBevelStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(Vcl::TAlign Align READ Align WRITE SetAlign)
public:
    Q_INVOKABLE explicit TBevel(TComponent* owner = nullptr);

    Vcl::TBevelShape Shape() const { return shape_; }
    void SetShape(Vcl::TBevelShape shape);
    Vcl::TBevelStyle Style() const { return style_; }
    void SetStyle(Vcl::TBevelStyle style);

private:
    Vcl::TBevelShape shape_ = Vcl::TBevelShape::bsBox;
    Vcl::TBevelStyle style_ = Vcl::TBevelStyle::bsLowered;
};
