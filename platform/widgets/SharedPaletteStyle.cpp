#include "platform/widgets/SharedPaletteStyle.h"

#include <QStyleOptionComplex>

namespace {

// Enough for every colour set a sheet uses at once; the oldest makes room.
constexpr std::size_t MaxPalettes = 32;

// Calls `draw` with a copy of `option`, of its real type, whose palette is
// `palette`; false when the option is none of the types listed.
template <typename Draw> bool drawWithPalette(const QStyleOptionComplex*, const QPalette&, Draw&&) {
    return false;
}

template <typename First, typename... Rest, typename Draw>
bool drawWithPalette(const QStyleOptionComplex* option, const QPalette& palette, Draw&& draw) {
    if (option->type != First::Type || option->version < First::Version)
        return drawWithPalette<Rest...>(option, palette, std::forward<Draw>(draw));
    First copy = *static_cast<const First*>(option);
    copy.palette = palette;
    draw(&copy);
    return true;
}

} // namespace

SharedPaletteStyle::SharedPaletteStyle(QStyle* base) : QProxyStyle(base) {}

QPalette SharedPaletteStyle::shared(const QPalette& palette) const {
    for (const QPalette& known : palettes_) {
        if (known.cacheKey() == palette.cacheKey() || known == palette)
            return known;
    }
    if (palettes_.size() == MaxPalettes)
        palettes_.erase(palettes_.begin());
    palettes_.push_back(palette);
    return palettes_.back();
}

void SharedPaletteStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                            QPainter* painter, const QWidget* widget) const {
    if (!option) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const QPalette palette = shared(option->palette);
    const auto draw = [&](const QStyleOptionComplex* copy) {
        QProxyStyle::drawComplexControl(control, copy, painter, widget);
    };
    if (!drawWithPalette<QStyleOptionSpinBox, QStyleOptionComboBox, QStyleOptionSlider,
                         QStyleOptionToolButton, QStyleOptionGroupBox, QStyleOptionTitleBar>(
            option, palette, draw))
        QProxyStyle::drawComplexControl(control, option, painter, widget);
}
