// The pixels the picture exports, the bitmap clipboard and the bitmap print
// take: the control's off-screen picture at its client size.
#pragma once

#include <OrvexGDI/PixelBuffer.h>

#include <QImage>

class QPainter;

namespace orvex::output {

/// The picture Graphics draws into, as a Width x Height image of 32-bit
/// pixels (an empty image for a zero size). A picture of another size (a
/// high-density one, or one not yet fitted to a resize) is scaled or cut to
/// that size; a graphics object without an image behind it gives black.
/// The result may share its pixels with the picture: use it at once, or copy.
QImage picture_of(const QPainter* Graphics, int Width, int Height);

/// The encoders' view of a 32-bit image; valid as long as the image lives.
TPixelBuffer pixel_buffer(const QImage& image);

} // namespace orvex::output
