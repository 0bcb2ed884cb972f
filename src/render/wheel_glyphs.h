#pragma once

#include <QFont>
#include <QString>

#include "core/ephemeris/aspects.h"
#include "core/ephemeris/points.h"

namespace tolvaris {

// The sign's symbol (U+2648 Aries ... U+2653 Pisces) with the text
// presentation selector, so no emoji font is ever chosen for it.
QString SignGlyph(int signIndex);

// The body's astronomical symbol, also in text presentation.
QString BodyGlyph(Point body);

// U+211E, the customary mark of retrograde motion.
QString RetrogradeGlyph();

// Symbola (Debian's fonts-symbola, a dependency of the package) holds every
// symbol the wheel uses; DejaVu Sans lacks some. `pixelSize` keeps the wheel
// independent of the device's resolution.
QFont GlyphFont(qreal pixelSize);

// The font of the wheel's figures and words.
QFont WheelTextFont(qreal pixelSize);

}  // namespace tolvaris
