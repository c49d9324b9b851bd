#pragma once

#include <QFont>
#include <QRect>

#include "platform/dialog_template.h"

// Dialog units to pixels, as the platform's dialog manager converts them: a horizontal unit
// is a quarter of the dialog font's average character width, a vertical unit an eighth of
// its height.
namespace platform::qt {

struct BaseUnits {
    int x = 0;  // average width of the 52 letters, rounded
    int y = 0;  // character height
};

// The font a template asks for, or the closest face this system has. The size is set in
// pixels from the point size and the screen's logical resolution, as a dialog's font is.
QFont DialogFont(const DialogTemplate& dialogTemplate, int logicalDpi);

BaseUnits BaseUnitsOf(const QFont& font);

// a * b / c rounded half away from zero, the platform's MulDiv.
int MulDiv(int a, int b, int c);

int UnitsToPixelsX(int units, BaseUnits base);
int UnitsToPixelsY(int units, BaseUnits base);
QRect UnitsToPixels(int x, int y, int cx, int cy, BaseUnits base);

}  // namespace platform::qt
