#pragma once

class QApplication;

// The look every window of the program shares: the Fusion style, so a sheet looks
// the same on every machine, and the sheets' font "MS Sans Serif" 8 pt, which
// falls back to Liberation Sans and then DejaVu Sans at a pixel size of 11 so that
// layouts made in pixels for that font still fit.
void applyApplicationAppearance(QApplication& app);
