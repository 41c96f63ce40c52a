#pragma once

#include <QObject>

// Enumerations and sets that sheets name by their elements. Element order is
// the ordinal order sheets rely on; sets are flags with one bit per element.
namespace Vcl {
Q_NAMESPACE

enum class TAlign : int { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
Q_ENUM_NS(TAlign)

enum class TAnchorKind : int { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
Q_DECLARE_FLAGS(TAnchors, TAnchorKind)
Q_FLAG_NS(TAnchors)

enum class TAlignment : int { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)

enum class TTextLayout : int { tlTop, tlCenter, tlBottom };
Q_ENUM_NS(TTextLayout)

enum class TBevelShape : int {
    bsBox,
    bsFrame,
    bsTopLine,
    bsBottomLine,
    bsLeftLine,
    bsRightLine,
    bsSpacer
};
Q_ENUM_NS(TBevelShape)

enum class TBevelStyle : int { bsLowered, bsRaised };
Q_ENUM_NS(TBevelStyle)

enum class TFormBorderStyle : int {
    bsNone,
    bsSingle,
    bsSizeable,
    bsDialog,
    bsToolWindow,
    bsSizeToolWin
};
Q_ENUM_NS(TFormBorderStyle)

enum class TBorderStyle : int { bsNone, bsSingle };
Q_ENUM_NS(TBorderStyle)

enum class TBorderIcon : int { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
Q_DECLARE_FLAGS(TBorderIcons, TBorderIcon)
Q_FLAG_NS(TBorderIcons)

enum class TPosition : int {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
Q_ENUM_NS(TPosition)

enum class TFormStyle : int { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
Q_ENUM_NS(TFormStyle)

enum class TWindowState : int { wsNormal, wsMinimized, wsMaximized };
Q_ENUM_NS(TWindowState)

enum class TEditCharCase : int { ecNormal, ecUpperCase, ecLowerCase };
Q_ENUM_NS(TEditCharCase)

enum class TComboBoxStyle : int {
    csDropDown,
    csSimple,
    csDropDownList,
    csOwnerDrawFixed,
    csOwnerDrawVariable
};
Q_ENUM_NS(TComboBoxStyle)

enum class TTabPosition : int { tpTop, tpBottom, tpLeft, tpRight };
Q_ENUM_NS(TTabPosition)

enum class TTabStyle : int { tsTabs, tsButtons, tsFlatButtons };
Q_ENUM_NS(TTabStyle)

enum class TFontStyle : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_FLAG_NS(TFontStyles)

enum class TCloseAction : int { caNone, caHide, caFree, caMinimize };
Q_ENUM_NS(TCloseAction)

// Modal results that the program itself uses.
constexpr int mrNone = 0;
constexpr int mrCancel = 2;

} // namespace Vcl

Q_DECLARE_OPERATORS_FOR_FLAGS(Vcl::TAnchors)
Q_DECLARE_OPERATORS_FOR_FLAGS(Vcl::TBorderIcons)
Q_DECLARE_OPERATORS_FOR_FLAGS(Vcl::TFontStyles)
