#pragma once

#include <QLineF>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <array>
#include <optional>
#include <span>
#include <vector>

#include "core/sky/chart.h"
#include "core/sky/sky_positions.h"

namespace tolvaris {

// Where one body goes on the wheel. Its glyph sits on one ring, spread along
// it away from its neighbours, with a leader from the tick at its true
// longitude; its one-line figures sit on the same ray just inside the glyph.
struct WheelBody {
    Point body = Point::Sun;
    double longitude = 0.0;
    // Degrees counterclockwise on the screen from the left-hand direction.
    double angle = 0.0;
    QPointF glyphCentre;
    QRectF glyphRect;
    double labelAngle = 0.0;  // after spreading
    // Natal figures run along the ray, read from the left as far as they can
    // be: `labelShape` is their turned box, `labelRect` encloses it;
    // `labelTurn` is the clockwise turn of their baseline from the x axis.
    QPolygonF labelShape;
    QRectF labelRect;
    double labelTurn = 0.0;
    QString labelText;  // natal: "24°♊06'", with "℞" after it when retrograde
    // Where the figures' second line starts ("06'" under "24°♊"), where one
    // line would not fit; 0 for one line.
    qsizetype labelBreak = 0;
    QString degreeText;  // outer ring: "12°"
    QString minuteText;  // outer ring: "07'"; empty on a ring too small for it
    bool retrograde = false;
    // From the tick at the true longitude to just outside the glyph's box,
    // winding inward along the ring where the glyph was moved.
    QPolygonF leader;
};

// The degree of one house cusp, upright in the house ring beside its line.
struct WheelCuspLabel {
    double longitude = 0.0;
    QString text;  // "12°♋", the degree cut not rounded
    QRectF rect;   // the ink's box
};

// The geometry of a whole wheel in one rectangle: what PaintWheel draws and
// what tests measure.
struct WheelLayout {
    QPointF centre;
    qreal side = 0;  // the square the wheel and its axis labels fill
    // The longitude drawn at the left: the Ascendant, or 0 Aries when the
    // time of birth is unknown.
    double leftLongitude = 0.0;
    bool housesShown = false;
    qreal outerRadius = 0;        // outside of the zodiac ring
    qreal zodiacInnerRadius = 0;  // inside of the zodiac ring
    qreal houseInnerRadius = 0;   // inside of the house-number ring
    qreal labelRadius = 0;        // centre line of the figures' ring
    qreal aspectRadius = 0;       // the circle the aspect lines join
    qreal glyphPixelSize = 0;
    qreal signGlyphPixelSize = 0;
    qreal labelPixelSize = 0;
    qreal houseNumberPixelSize = 0;
    qreal cuspLabelPixelSize = 0;
    std::array<QRectF, 12> signGlyphRects;
    // Both empty when there are no houses; the numbers' ink boxes, house 1
    // first, keep clear of the cusps' degrees.
    std::vector<WheelCuspLabel> cuspLabels;
    std::vector<QRectF> houseNumberRects;
    std::vector<WheelBody> bodies;
    // The axis and cusp lines as drawn: broken wherever they would cross a
    // glyph, the figures or a leader line.
    std::vector<QLineF> axisLines;
    std::vector<QLineF> cuspLines;
    // Said under the wheel when the time of birth is unknown; empty otherwise.
    QString caption;
    QRectF captionRect;
    // A bi-wheel's second set of bodies (the sky of another moment) on a ring
    // outside the zodiac, each glyph spread along the ring with a tick at its
    // true longitude. Empty for the natal wheel alone, which then keeps every
    // proportion above; with the ring, `side` is the smaller square the
    // natal part is drawn for.
    std::vector<WheelBody> outerBodies;
    qreal outerRingRadius = 0;  // outside of the outer ring; 0 without one
    qreal outerGlyphPixelSize = 0;
    qreal outerLabelPixelSize = 0;
    qreal outerTickLength = 0;

    // The outside of the drawing, the axis labels apart.
    qreal RimRadius() const { return outerRingRadius > 0 ? outerRingRadius : outerRadius; }

    // The point at `radius` on the ray of `longitude`.
    QPointF PointAt(double longitude, qreal radius) const;
};

// Degrees counterclockwise (as seen on the screen) from the left-hand
// direction to the ray of `longitude`, in [0, 360): the zodiac runs
// counterclockwise with `leftLongitude` at the left.
double ScreenAngle(double longitude, double leftLongitude);

// The angles the labels take: each as close to its wanted angle (degrees) as
// the separations allow, neighbours at least (halfWidth[i] + halfWidth[j])
// apart, all in [0, 360). Order around the circle is kept.
std::vector<double> SpreadAngles(const std::vector<double>& wanted,
                                 const std::vector<double>& halfWidths);

// The one-line figures of a body: degree, sign glyph, minute, cut not
// rounded, as the chart's table shows them.
QString WheelLabelText(double longitude, bool retrograde);

// The body whose glyph or figures lie under `at`, if any.
std::optional<Point> WheelBodyAt(const WheelLayout& layout, QPointF at);

// What the wheel says under the pointer: over a glyph or its figures the
// body, its sign, degree and minute and house ("Moon in Aquarius, 0°39',
// 12th house"); over an aspect line the aspect and its orb ("Moon trine
// Jupiter, orb 2°15'"); "" elsewhere.
QString WheelToolTip(const WheelLayout& layout, const Chart& chart, QPointF at);

// Lays out the wheel of `chart` in the largest square centred in `bounds`,
// with `outer` on a ring around it when given. Needs a QGuiApplication (font
// metrics).
WheelLayout LayoutWheel(const QRectF& bounds, const Chart& chart,
                        std::span<const SkyPosition> outer = {});

}  // namespace tolvaris
