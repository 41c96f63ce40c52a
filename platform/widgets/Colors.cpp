#include "platform/widgets/Colors.h"

namespace Colors {
namespace {

QColor systemColor(int index, const QPalette& p) {
    switch (index) {
    case 5: // clWindow
        return p.color(QPalette::Base);
    case 6:  // clWindowFrame
    case 21: // cl3DDkShadow
        return p.color(QPalette::Shadow);
    case 7: // clMenuText
    case 8: // clWindowText
        return p.color(QPalette::WindowText);
    case 13: // clHighlight
        return p.color(QPalette::Highlight);
    case 14: // clHighlightText
        return p.color(QPalette::HighlightedText);
    case 16: // clBtnShadow
        return p.color(QPalette::Dark);
    case 17: // clGrayText
        return p.color(QPalette::Disabled, QPalette::Text);
    case 18: // clBtnText
        return p.color(QPalette::ButtonText);
    case 20: // clBtnHighlight
        return p.color(QPalette::Light);
    case 22: // cl3DLight
        return p.color(QPalette::Midlight);
    case 23: // clInfoText
        return p.color(QPalette::ToolTipText);
    case 24: // clInfoBk
        return p.color(QPalette::ToolTipBase);
    case 2: // clActiveCaption
        return p.color(QPalette::Active, QPalette::Highlight);
    case 3: // clInactiveCaption
        return p.color(QPalette::Inactive, QPalette::Highlight);
    case 9: // clCaptionText
        return p.color(QPalette::HighlightedText);
    default: // clBtnFace, clMenu, clAppWorkSpace and the rest of the frame colours
        return p.color(QPalette::Window);
    }
}

} // namespace

QColor toQColor(int color, const QPalette& palette) {
    if (color < 0)
        return systemColor(color & 0xFF, palette);
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

} // namespace Colors
