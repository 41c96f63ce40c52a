#pragma once

class QApplication;

// The look every window of the program shares: the Fusion style (with its
// pixmap names kept from growing, SharedPaletteStyle.h), and the font
// "MS Sans Serif" 8 pt that sheets are laid out for, drawn with Liberation Sans
// (or DejaVu Sans) at 11 pixels so that pixel layouts still fit. Hidden
// windows never end the program: only closing the main window does.
void SetUpApplicationStyle(QApplication& application);
