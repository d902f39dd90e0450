#include "picture_source.h"

#include <QPainter>

namespace orvex::output {

namespace {

bool is_32_bit(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

QImage picture_of(const QPainter* Graphics, int Width, int Height)
{
    if (Width <= 0 || Height <= 0)
        return {};
    QImage picture;
    if (Graphics != nullptr && Graphics->isActive() && Graphics->device() != nullptr &&
        Graphics->device()->devType() == QInternal::Image)
        picture = *static_cast<const QImage*>(Graphics->device());
    if (picture.size() != QSize(Width, Height)) {
        QImage fitted(Width, Height, QImage::Format_RGB32);
        fitted.fill(Qt::black);
        if (!picture.isNull()) {
            QPainter painter(&fitted);
            if (picture.devicePixelRatio() != 1.0) {
                painter.setRenderHint(QPainter::SmoothPixmapTransform);
                painter.drawImage(QRect(0, 0, Width, Height), picture);
            } else {
                painter.drawImage(QPoint(0, 0), picture);
            }
        }
        return fitted;
    }
    // The encoders ignore alpha: a premultiplied pixel (the control's picture)
    // then shows its colour over black.
    return is_32_bit(picture.format()) ? picture : picture.convertToFormat(QImage::Format_RGB32);
}

TPixelBuffer pixel_buffer(const QImage& image)
{
    TPixelBuffer buffer;
    buffer.Width = image.width();
    buffer.Height = image.height();
    buffer.BitsPerPixel = 32;
    buffer.RowBytes = image.bytesPerLine();
    buffer.Pixels = image.constBits();
    return buffer;
}

} // namespace orvex::output
