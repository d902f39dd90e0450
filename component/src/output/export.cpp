// The control's picture as a BMP, GIF or JPEG file and on the clipboard, and
// the drawing as a vector picture on the clipboard.
#include "picture_file.h"
#include "picture_source.h"

#include "common/codes.h"
#include "encoders/bmp.h"
#include "encoders/jpeg.h"
#include "view/view_math.h"

#include <OrvexGDI/OrvexGIF.h>
#include <OrvexGDI/QOrvexGDI.h>

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSvgGenerator>

namespace orvex {

namespace Ops {

void Save_Bitmap(int Kind, const QString& FileName, QPainter* Graphics, int Width, int Height)
{
    const QImage picture = output::picture_of(Graphics, Width, Height);
    const TPixelBuffer pixels = output::pixel_buffer(picture);
    output::write_picture_file(FileName, [&](std::ostream& out) {
        switch (Kind) {
        case 1: {
            TGifPicture gif;
            gif.Assign(pixels);
            gif.SaveToStream(out);
            break;
        }
        case 2:
            encoders::write_jpeg(pixels, out);
            break;
        default:
            encoders::write_bmp(pixels, out);
            break;
        }
    });
}

void clipboard_bmp(QPainter* Graphics, int Width, int Height)
{
    // The clipboard keeps its own copy, independent of later drawing.
    QGuiApplication::clipboard()->setImage(output::picture_of(Graphics, Width, Height).copy());
}

} // namespace Ops

void TOrvexGDI::SaveBMP(const QString& FileName) { Ops::Save_Bitmap(0, FileName, GetCanvas(), width(), height()); }

void TOrvexGDI::SaveGIF(const QString& FileName) { Ops::Save_Bitmap(1, FileName, GetCanvas(), width(), height()); }

void TOrvexGDI::SaveJPEG(const QString& FileName) { Ops::Save_Bitmap(2, FileName, GetCanvas(), width(), height()); }

void TOrvexGDI::WmfToClipboard() { clipboard_proc(GetCanvas(), 0, width(), height()); }

void TOrvexGDI::BmpToClipboard() { clipboard_proc(GetCanvas(), 2, width(), height()); }

namespace {

// Canvas mode for the duration of one replay, off again however it ends.
class CanvasReplay {
public:
    CanvasReplay(TSettings& settings, QPainter& canvas) : settings_(settings)
    {
        settings_.OutputCanvas = &canvas;
        settings_.CanvasMode = true;
    }
    ~CanvasReplay()
    {
        settings_.CanvasMode = false;
        settings_.OutputCanvas = nullptr;
    }
    CanvasReplay(const CanvasReplay&) = delete;
    CanvasReplay& operator=(const CanvasReplay&) = delete;

private:
    TSettings& settings_;
};

} // namespace

void TOrvexGDI::clipboard_proc(QPainter* Graphics, int Kind, int Width, int Height)
{
    if (Kind == 2) {
        Ops::clipboard_bmp(Graphics, Width, Height);
        return;
    }
    if (Kind != 0)
        return;
    // The elements are replayed twice through the canvas path, in the
    // projection the screen shows: into an SVG document and into a PNG picture
    // of the same drawing for programs that paste only pictures.
    const int w = std::max(Width, 0), h = std::max(Height, 0);
    QPainter unused; // canvas mode draws nothing on the picture's graphics
    QPainter& graphics = Graphics != nullptr ? *Graphics : unused;
    view::set_coefficiants(*Settings);
    auto replay = [&](QPainter& canvas) {
        canvas.setPen(QPen(Qt::black, 1.0));
        canvas.setBrush(Qt::NoBrush);
        canvas.setRenderHint(QPainter::Antialiasing, Settings->AntiAlias);
        CanvasReplay mode(*Settings, canvas);
        plot_elements(graphics, Settings->ViewNumber, codes::kPlotVisible);
    };

    QBuffer svg;
    svg.open(QIODevice::WriteOnly);
    {
        QSvgGenerator generator;
        generator.setOutputDevice(&svg);
        generator.setSize(QSize(w, h));
        generator.setViewBox(QRect(0, 0, w, h));
        generator.setDescription(QStringLiteral("Orvex"));
        QPainter canvas(&generator);
        replay(canvas);
    }
    QImage png(w, h, QImage::Format_ARGB32_Premultiplied);
    png.fill(Qt::transparent);
    if (!png.isNull()) {
        QPainter canvas(&png);
        replay(canvas);
    }

    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/svg+xml"), svg.data());
    data->setImageData(png);
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace orvex
