#include "render/band_pass.h"

#include "common/codes.h"
#include "render/element_painter.h"
#include "view/viewport.h"

#include <QRegion>
#include <QTransform>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

namespace orvex {

namespace {
// Pen widths, anti-aliasing and the arms of points reach this far beyond an
// element's box (as for the whole picture's index window).
constexpr double kReachPixels = 8;
// More bands than this gain nothing on any machine and cost a thread each.
constexpr int kMostBands = 64;

struct BandOutcome {
    std::optional<QPen> pen;
    std::optional<QBrush> fill;
    int fillElement = -1;
    std::optional<QRect> clip;
};

// The state of the control's painter every part starts from, read once on
// the calling thread.
struct PainterSetup {
    QPainter::RenderHints hints;
    QPen pen;
    QBrush brush;
    QPointF brushOrigin;
    QPainter::CompositionMode mode;
    double opacity;
    QTransform transform;
    bool clipped;
    QRegion clip;

    explicit PainterSetup(const QPainter& p)
        : hints(p.renderHints()), pen(p.pen()), brush(p.brush()), brushOrigin(p.brushOrigin()),
          mode(p.compositionMode()), opacity(p.opacity()), transform(p.transform()), clipped(p.hasClipping()),
          clip(clipped ? p.clipRegion() : QRegion())
    {
    }
};

void paint_band(const PainterSetup& setup, const QImage& picture, const TSettings& s, const TElements& elements,
                const ElementIndex* index, const QRect& band, BandOutcome& outcome)
{
    // A second image over the same pixels: each band has its own painter,
    // and the clip keeps it to its rows.
    QImage rows(const_cast<uchar*>(picture.constBits()), picture.width(), picture.height(), picture.bytesPerLine(),
                picture.format());
    rows.setDevicePixelRatio(picture.devicePixelRatio());
    QPainter painter(&rows);
    painter.setRenderHints(setup.hints);
    painter.setPen(setup.pen);
    painter.setBrush(setup.brush);
    painter.setBrushOrigin(setup.brushOrigin);
    painter.setCompositionMode(setup.mode);
    painter.setOpacity(setup.opacity);
    painter.setTransform(setup.transform);
    if (setup.clipped)
        painter.setClipRegion(setup.clip);
    const view::Viewport viewport = view::Viewport::current(s);
    {
        ElementPainter out(painter, viewport, s, band);
        if (index != nullptr) {
            const view::Viewport top = view::Viewport::of(s, 1);
            ModelBox window{};
            top.to_plane(band.left() - kReachPixels, band.bottom() + 1 + kReachPixels, window.x0, window.y0);
            top.to_plane(band.right() + 1 + kReachPixels, band.top() - kReachPixels, window.x1, window.y1);
            std::vector<std::uint8_t> marked;
            index->mark(window, marked);
            out.plot_marked(elements, marked);
        } else {
            out.plot_elements(elements, s.ViewNumber, codes::kPlotVisible);
        }
        outcome.pen = out.last_pen();
        outcome.fill = out.last_fill();
        outcome.fillElement = out.last_fill_element();
        outcome.clip = out.last_clip();
    }
    painter.end();
}
} // namespace

int band_count(int renderThreads, int height)
{
    int n = renderThreads;
    if (n <= 0)
        n = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return std::clamp(n, 1, std::max(1, std::min(height, kMostBands)));
}

bool banded_picture(const QImage& picture)
{
    switch (picture.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return !picture.isNull() && picture.devicePixelRatio() == 1.0;
    default:
        return false;
    }
}

QRect band_rect(int k, int n, int width, int height)
{
    const int top = static_cast<int>(static_cast<long long>(height) * k / n);
    const int bottom = static_cast<int>(static_cast<long long>(height) * (k + 1) / n);
    return QRect(0, top, width, bottom - top);
}

BandPassResult paint_bands(QPainter& graphics, QImage& picture, const TSettings& s, const TElements& elements,
                           const ElementIndex* index, const std::vector<QRect>& parts)
{
    if (parts.empty())
        return {};
    const PainterSetup setup(graphics);
    std::vector<BandOutcome> outcomes(parts.size());
    std::vector<std::thread> threads;
    threads.reserve(parts.size() - 1);
    std::size_t started = 1;
    try {
        for (; started < parts.size(); ++started)
            threads.emplace_back(paint_band, std::cref(setup), std::cref(picture), std::cref(s), std::cref(elements),
                                 index, parts[started], std::ref(outcomes[started]));
    } catch (const std::system_error&) {
        // No thread to be had: the calling thread draws the rest itself.
    }
    paint_band(setup, picture, s, elements, index, parts[0], outcomes[0]);
    for (std::size_t k = started; k < parts.size(); ++k)
        paint_band(setup, picture, s, elements, index, parts[k], outcomes[k]);
    for (std::thread& t : threads)
        t.join();

    BandPassResult result;
    // Every part sees the clip elements and, without an index, every element:
    // the first part's pen and clip are those of the whole pass.
    result.pen = outcomes[0].pen;
    result.clip = outcomes[0].clip;
    for (const BandOutcome& o : outcomes)
        if (o.fill && o.fillElement >= result.fillElement) {
            result.fill = o.fill;
            result.fillElement = o.fillElement;
        }
    return result;
}

void shift_pixels(QImage& picture, int dx, int dy)
{
    const int w = picture.width(), h = picture.height();
    if (std::abs(dx) >= w || std::abs(dy) >= h || (dx == 0 && dy == 0))
        return;
    const int bytes = picture.depth() / 8;
    const std::size_t run = static_cast<std::size_t>(w - std::abs(dx)) * bytes;
    const int from = std::max(0, -dx), to = std::max(0, dx);
    uchar* bits = picture.bits();
    const qsizetype stride = picture.bytesPerLine();
    // Rows are visited so that none is overwritten before it has moved.
    auto move_row = [&](int y) {
        std::memmove(bits + (y + dy) * stride + to * bytes, bits + y * stride + from * bytes, run);
    };
    if (dy > 0)
        for (int y = h - 1 - dy; y >= 0; --y)
            move_row(y);
    else
        for (int y = -dy; y < h; ++y)
            move_row(y);
}

} // namespace orvex
