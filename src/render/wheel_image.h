#pragma once

#include <QByteArray>
#include <QImage>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <string>

#include "core/chart/birth_chart.h"
#include "core/common/atomic_file.h"
#include "core/relation/relation.h"
#include "core/sky/chart.h"

namespace tolvaris {

enum class WheelImageFormat { Png, Svg };

// The format a file name asks for by its extension (".png", ".svg", any
// case); nothing for any other name.
std::optional<WheelImageFormat> WheelImageFormatOf(const std::filesystem::path& path);

// Lines of text under a wheel saying whose chart it is: the name, then the
// birth as the chart's summary gives it. An empty list leaves the image the
// bare wheel.
using WheelCaption = QStringList;
WheelCaption CaptionOf(const BirthChart& chart);
// A bi-wheel's: one line for the inner chart, one for the outer.
WheelCaption CaptionOf(const BirthChart& inner, const BirthChart& outer);

// The wheel on a white square of `sizePixels`, drawn at `pixelRatio` device
// pixels per logical pixel (2 for a high-density screen). A caption takes
// the bottom of the square and the wheel shrinks to leave it room.
QImage RenderWheelImage(const Chart& chart, int sizePixels, qreal pixelRatio = 1.0,
                        const WheelCaption& caption = {});

QByteArray WheelPngBytes(const Chart& chart, int sizePixels, const WheelCaption& caption = {});
// Scalable; `sizePixels` is the nominal size a viewer first shows.
QByteArray WheelSvgBytes(const Chart& chart, int sizePixels, const QString& title,
                         const WheelCaption& caption = {});

// Smallest and largest image sides accepted.
inline constexpr int kMinWheelImageSize = 100;
inline constexpr int kMaxWheelImageSize = 10000;

// Writes the wheel as PNG or SVG (by the extension) through `writer`, so a
// failure leaves no partial file. Returns "" or a message naming the path
// and the reason.
std::string WriteWheelImage(const std::filesystem::path& path, const Chart& chart, int sizePixels,
                            const QString& title, AtomicFileWriter& writer,
                            const WheelCaption& caption = {});
// The same for the bi-wheel of two charts with the lines of their contacts.
std::string WriteBiWheelImage(const std::filesystem::path& path, const Chart& first,
                              const Chart& second, const Synastry& synastry, int sizePixels,
                              const QString& title, AtomicFileWriter& writer,
                              const WheelCaption& caption = {});

}  // namespace tolvaris
