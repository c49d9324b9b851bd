#include "platform/qt/dialog_units.h"

#include <QFontMetrics>
#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace platform::qt {

namespace {

// The template's bitmap faces, which Linux systems do not ship. Liberation Sans is the closest
// common sans face, but at the same character height its letters run about a tenth wider than
// the bitmap face's, and the template's texts were fitted to the bitmap face: a check box
// label would lose its end. So the substitute is set a tenth smaller, which gives it the
// bitmap face's average width (6 pixels at 8 points on a 96 dpi screen).
constexpr std::string_view kBitmapFaces[] = {"MS Sans Serif", "MS Shell Dlg",
                                             "Microsoft Sans Serif"};

}  // namespace

QFont DialogFont(const DialogTemplate& dialogTemplate, int logicalDpi) {
    const bool bitmapFace = std::ranges::count(kBitmapFaces, dialogTemplate.fontFace) > 0;
    QFont font(QString::fromLatin1(bitmapFace ? "Liberation Sans" : dialogTemplate.fontFace));
    // Keep to sans faces should the substitute itself be missing.
    font.setStyleHint(QFont::SansSerif);
    // The character height (the em, without internal leading) in pixels, as a negative
    // LOGFONT height asks for.
    const int height = MulDiv(dialogTemplate.pointSize, logicalDpi, 72);
    font.setPixelSize(qMax(1, MulDiv(height, bitmapFace ? 91 : 100, 100)));
    font.setItalic(dialogTemplate.italic);
    if (dialogTemplate.weight >= 600) {
        font.setBold(true);
    }
    return font;
}

BaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(width / 26 + 1) / 2, metrics.height()};
}

int MulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    const long long product = static_cast<long long>(a) * b;
    const long long magnitude = (std::llabs(product) + std::llabs(c) / 2) / std::llabs(c);
    return static_cast<int>((product < 0) != (c < 0) ? -magnitude : magnitude);
}

int UnitsToPixelsX(int units, BaseUnits base) {
    return MulDiv(units, base.x, 4);
}

int UnitsToPixelsY(int units, BaseUnits base) {
    return MulDiv(units, base.y, 8);
}

// Position and size are converted each on its own, as the dialog manager creates controls.
QRect UnitsToPixels(int x, int y, int cx, int cy, BaseUnits base) {
    return QRect(UnitsToPixelsX(x, base), UnitsToPixelsY(y, base), UnitsToPixelsX(cx, base),
                 UnitsToPixelsY(cy, base));
}

}  // namespace platform::qt
