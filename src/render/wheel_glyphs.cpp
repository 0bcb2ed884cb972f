#include "render/wheel_glyphs.h"

namespace tolvaris {
namespace {

// Asks for the text (not emoji) form of the symbol before it.
constexpr char16_t kTextPresentation = 0xFE0E;

QString WithTextPresentation(char16_t symbol) {
    return QString(QChar(symbol)) + QChar(kTextPresentation);
}

QFont PixelFont(const QString& family, qreal pixelSize) {
    QFont font(family);
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    // Outlines, not hinted bitmaps: the wheel scales and goes to SVG and PDF.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace

QString SignGlyph(int signIndex) {
    return WithTextPresentation(static_cast<char16_t>(0x2648 + ((signIndex % 12) + 12) % 12));
}

QString BodyGlyph(Point body) {
    const char16_t symbol = RowOf(body).symbol;
    if (symbol == 0) {
        return QStringLiteral("AC");
    }
    return WithTextPresentation(symbol);
}

QString RetrogradeGlyph() {
    return WithTextPresentation(0x211E);
}

QFont GlyphFont(qreal pixelSize) {
    return PixelFont(QStringLiteral("Symbola"), pixelSize);
}

QFont WheelTextFont(qreal pixelSize) {
    return PixelFont(QStringLiteral("DejaVu Sans"), pixelSize);
}

}  // namespace tolvaris
