#include "platform/widgets/Bevel.h"

#include <QPainter>

// Paints the bevel of its control with the palette's shadow and light colours.
class BevelWidget : public QWidget {
public:
    BevelWidget() { setAttribute(Qt::WA_TransparentForMouseEvents); }

    QPointer<const TBevel> bevel;

protected:
    void paintEvent(QPaintEvent*) override;
};

void BevelWidget::paintEvent(QPaintEvent*) {
    using Vcl::TBevelShape;
    if (!bevel || bevel->Shape() == TBevelShape::bsSpacer)
        return;
    QPainter p(this);
    const bool lowered = bevel->Style() == Vcl::TBevelStyle::bsLowered;
    const QColor dark = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    const QColor first = lowered ? dark : light;  // top and left edges
    const QColor second = lowered ? light : dark; // bottom and right edges
    const QRect r = rect();
    auto line = [&p](const QColor& c, int x1, int y1, int x2, int y2) {
        p.setPen(c);
        p.drawLine(x1, y1, x2, y2);
    };
    switch (bevel->Shape()) {
    case TBevelShape::bsBox:
        line(first, r.left(), r.top(), r.right(), r.top());
        line(first, r.left(), r.top(), r.left(), r.bottom());
        line(second, r.left(), r.bottom(), r.right(), r.bottom());
        line(second, r.right(), r.top(), r.right(), r.bottom());
        break;
    case TBevelShape::bsFrame:
        p.setPen(first);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(second);
        p.drawRect(r.adjusted(1, 1, 0, 0));
        break;
    case TBevelShape::bsTopLine:
        line(first, r.left(), r.top(), r.right(), r.top());
        line(second, r.left(), r.top() + 1, r.right(), r.top() + 1);
        break;
    case TBevelShape::bsBottomLine:
        line(first, r.left(), r.bottom() - 1, r.right(), r.bottom() - 1);
        line(second, r.left(), r.bottom(), r.right(), r.bottom());
        break;
    case TBevelShape::bsLeftLine:
        line(first, r.left(), r.top(), r.left(), r.bottom());
        line(second, r.left() + 1, r.top(), r.left() + 1, r.bottom());
        break;
    case TBevelShape::bsRightLine:
        line(first, r.right() - 1, r.top(), r.right() - 1, r.bottom());
        line(second, r.right(), r.top(), r.right(), r.bottom());
        break;
    default:
        break;
    }
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner, new BevelWidget) {
    static_cast<BevelWidget*>(Widget())->bevel = this;
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(Vcl::TBevelShape shape) {
    shape_ = shape;
    Widget()->update();
}

void TBevel::SetStyle(Vcl::TBevelStyle style) {
    style_ = style;
    Widget()->update();
}
