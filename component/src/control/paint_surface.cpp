#include <OrvexGDI/OrvexControl.h>

#include <QBrush>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>

namespace orvex {

TGDIPWinControl::TGDIPWinControl(QWidget* parent) : QWidget(parent)
{
    // The picture is copied over the whole window at every paint, so the
    // window is never erased first. The parent may show around the control.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 0x80)); // framework colour 0x800000
    setPalette(pal);
    AllocateCanvas();
}

TGDIPWinControl::~TGDIPWinControl() { DeAllocateCanvas(); }

namespace {

// The picture covers the control in device pixels, so a scaled screen shows
// it pixel for pixel.
QSize device_size(const QSize& logical, qreal ratio)
{
    return {qCeil(logical.width() * ratio), qCeil(logical.height() * ratio)};
}

} // namespace

void TGDIPWinControl::AllocateCanvas()
{
    const qreal ratio = devicePixelRatioF();
    if (Graphics != nullptr && Bitmap != nullptr && Bitmap->size() == device_size(size(), ratio) &&
        Bitmap->devicePixelRatio() == ratio)
        return;
    DeAllocateCanvas();
    const QImage::Format format = Transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    Bitmap = std::make_unique<QImage>(device_size(size(), ratio), format);
    // Painters on the picture work in logical pixels, as every coordinate of
    // the control's interface does; the device-pixel ratio scales them.
    Bitmap->setDevicePixelRatio(ratio);
    // A new picture holds no drawing: transparent, or black when opaque.
    if (!Bitmap->isNull())
        Bitmap->fill(Transparent ? Qt::transparent : Qt::black);
    Graphics = new QPainter();
    if (!Bitmap->isNull())
        Graphics->begin(Bitmap.get());
}

QSize TGDIPWinControl::GetPictureSize() const
{
    if (Bitmap == nullptr)
        return {};
    return Bitmap->deviceIndependentSize().toSize();
}

void TGDIPWinControl::DeAllocateCanvas()
{
    if (Graphics != nullptr) {
        if (Graphics->isActive())
            Graphics->end();
        delete Graphics;
        Graphics = nullptr;
    }
    Bitmap.reset();
}

void TGDIPWinControl::Paint(QPainter&) {}

void TGDIPWinControl::paintEvent(QPaintEvent*)
{
    AllocateCanvas();
    Paint(*Graphics);
    if (Bitmap->isNull())
        return;
    QPainter window(this);
    window.drawImage(QPointF(0, 0), *Bitmap);
}

void TGDIPWinControl::RenderChecked(QPainter& Graphics, std::uint32_t Color1, std::uint32_t Color2) const
{
    if (!Graphics.isActive())
        return;
    // A large checkerboard: squares of 8 pixels in the two colours.
    QImage tile(16, 16, QImage::Format_ARGB32);
    tile.fill(QColor::fromRgba(Color2));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if ((x < 8) == (y < 8))
                tile.setPixel(x, y, Color1);
    Graphics.fillRect(rect(), QBrush(tile));
}

TGDIPCanvas::TGDIPCanvas(QWidget* parent) : TGDIPWinControl(parent)
{
    Transparent = true;
    // The base made its first picture before Transparent was set; make the
    // first picture in the 32-bit format with alpha this control asks for.
    DeAllocateCanvas();
    AllocateCanvas();
}

void TGDIPCanvas::Paint(QPainter& Graphics)
{
    TGDIPWinControl::Paint(Graphics);
    if (OnPaint)
        OnPaint(Graphics);
}

} // namespace orvex
