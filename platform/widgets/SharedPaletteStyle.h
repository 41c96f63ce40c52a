#pragma once

#include <QPalette>
#include <QProxyStyle>
#include <vector>

// The program's style: the base style, painting controls with one palette object
// per distinct set of colours. The base style caches the pixmaps of spin boxes,
// combo boxes and the like under names that include the palette object's
// identity, and it never forgets a name; every sheet's controls get palette
// objects of their own, so without this each sheet opened added names for good.
// With it, the same colours give the same names, sheet after sheet.
class SharedPaletteStyle : public QProxyStyle {
public:
    explicit SharedPaletteStyle(QStyle* base);

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;

private:
    // A palette with the same colours as `palette` that earlier calls have seen.
    QPalette shared(const QPalette& palette) const;

    mutable std::vector<QPalette> palettes_;
};
