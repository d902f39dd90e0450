#include "render/element_painter.h"

#include "common/codes.h"
#include "view/view_math.h"

#include <OrvexGDI/Ops.h>

#include <QBrush>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>

namespace orvex {

namespace {
constexpr double kPixelLimit = 100000; // figures beyond this are far off-screen and skipped
constexpr int kDragElements = 200;

// Outlines take a negative colour unchanged as ARGB (translucent outlines).
QRgb outline_argb(TColor colour) { return colour < 0 ? static_cast<QRgb>(colour) : opaque_argb(colour); }

// Dash style of a line type; false when the type leaves the style unchanged.
bool dash_style(int LineType, Qt::PenStyle& style)
{
    switch (LineType) {
    case 0:
    case 1:
    case 21:
        style = Qt::SolidLine;
        return true;
    case 2:
    case 22:
        style = Qt::DotLine;
        return true;
    case 3:
    case 23:
        style = Qt::DashDotLine;
        return true;
    case 4:
    case 24:
        style = Qt::DashDotDotLine;
        return true;
    default:
        return false;
    }
}

bool beyond_limit(double value) { return !(std::abs(value) <= kPixelLimit); }

// A linear gradient across box at angle degrees (clockwise on the screen),
// spanning the box's extent in that direction, as a non-scaled gradient brush does.
QLinearGradient linear_gradient(const QRectF& box, double angle, const QColor& first, const QColor& second)
{
    const double a = angle / codes::kDegreesPerRadian;
    const QPointF d(std::cos(a), std::sin(a));
    const double half = (std::abs(box.width() * d.x()) + std::abs(box.height() * d.y())) / 2;
    QLinearGradient gradient(box.center() - d * half, box.center() + d * half);
    gradient.setColorAt(0, first);
    gradient.setColorAt(1, second);
    return gradient;
}
} // namespace

ElementPainter::ElementPainter(QPainter& out, PaintTarget target, const view::Viewport& viewport,
                               const TSettings& settings)
    : out_(out), s_(settings), target_(target), vp_(viewport)
{
    start();
}

ElementPainter::ElementPainter(QPainter& out, const view::Viewport& viewport, const TSettings& settings,
                               const QRect& band)
    : out_(out), s_(settings), target_(PaintTarget::Picture), vp_(viewport), band_(band)
{
    start();
}

void ElementPainter::start()
{
    keep_picture_clip();
    attach_writer();
    // The picture starts with the control's outline pen; a canvas or a page
    // with the pen its owner gave it.
    const QPen& pen = target_ == PaintTarget::Picture ? s_.Pen : out_.pen();
    penArgb_ = pen.color().rgba();
    penStyle_ = pen.style();
    penWidth_ = pen.widthF();
    lines_.reserve(1024);
}

ElementPainter::~ElementPainter() { finish(); }

// With a rectangle clip the raster engine writes pixels straight into the
// picture; without one every pixel becomes a span of its own. So while no clip
// rectangle element is in force the picture keeps a clip of its own size,
// which changes no pixel.
void ElementPainter::keep_picture_clip()
{
    if (target_ != PaintTarget::Picture || !out_.isActive() || out_.device() == nullptr ||
        out_.device()->devType() != QInternal::Image)
        return;
    const auto* picture = static_cast<const QImage*>(out_.device());
    pictureRect_ = QRectF(QPointF(0, 0), picture->deviceIndependentSize()).toAlignedRect();
    cullRect_ = band_.isNull() ? pictureRect_ : pictureRect_ & band_;
    if (!out_.hasClipping())
        out_.setClipRect(cullRect_, Qt::ReplaceClip);
    else if (!band_.isNull())
        out_.setClipRect(band_, Qt::IntersectClip);
}

void ElementPainter::attach_writer()
{
    if (pictureRect_.isNull())
        return;
    auto* picture = static_cast<QImage*>(out_.device());
    const QImage::Format format = picture->format();
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) ||
        !out_.deviceTransform().isIdentity() || out_.compositionMode() != QPainter::CompositionMode_SourceOver ||
        out_.opacity() != 1.0)
        return;
    // The pixels the painter itself writes to, without detaching the picture.
    auto* bits = reinterpret_cast<std::uint32_t*>(const_cast<uchar*>(picture->constBits()));
    writer_.emplace(bits, picture->bytesPerLine() / 4, picture->width(), picture->height());
    // A live pan moves the picture and draws only what it uncovers: its
    // lines must not depend on where the picture's edges lie.
    writer_->keep_whole_lines(s_.LivePan);
    antialias_ = out_.testRenderHint(QPainter::Antialiasing);
    clip_writer();
}

void ElementPainter::clip_writer()
{
    if (!writer_)
        return;
    const QRegion clip = out_.hasClipping() ? out_.clipRegion() : QRegion(pictureRect_);
    if (clip.rectCount() > 1) { // not a rectangle: QPainter clips
        writer_.reset();
        direct_ = false;
        return;
    }
    const QRect r = clip.boundingRect();
    writer_->set_clip(r.left(), r.top(), r.right(), r.bottom());
}

void ElementPainter::choose_writer()
{
    direct_ = writer_.has_value() && penStyle_ == Qt::SolidLine && (penWidth_ == 1.0 || penWidth_ == 2.0) &&
              qAlpha(penArgb_) == 255;
    if (direct_)
        writer_->set_pen(penArgb_, static_cast<int>(penWidth_), antialias_);
}

bool ElementPainter::off_picture(double left, double top, double right, double bottom) const
{
    // Anti-aliasing and two-pixel pens reach a little beyond the figure's box.
    constexpr double kReach = 4;
    return !pictureRect_.isNull() && (right < cullRect_.left() - kReach || left > cullRect_.right() + kReach ||
                                      bottom < cullRect_.top() - kReach || top > cullRect_.bottom() + kReach);
}

bool ElementPainter::arc_off_picture(double cx, double cy, double cz, double r, int ArcView) const
{
    if (pictureRect_.isNull())
        return false;
    // The centre and the two axes of the arc's plane in the model.
    double c[3] = {cx, cy, cz}, a[3] = {1, 0, 0}, b[3] = {0, 1, 0};
    if (ArcView == -2) {
        b[1] = 0, b[2] = 1;
    } else if (ArcView == -3) {
        a[0] = 0, a[1] = 1, b[1] = 0, b[2] = 1;
    } else if (ArcView >= 1) {
        const TArcView& m = s_.ArcViews[ArcView];
        c[0] = m.M11 * cx + m.M12 * cy + m.M13 * cz;
        c[1] = m.M21 * cx + m.M22 * cy + m.M23 * cz;
        c[2] = m.M31 * cx + m.M32 * cy + m.M33 * cz;
        a[0] = m.M11, a[1] = m.M21, a[2] = m.M31;
        b[0] = m.M12, b[1] = m.M22, b[2] = m.M32;
    }
    double cu = 0, cw = 0, au = 0, aw = 0, bu = 0, bw = 0;
    vp_.project(c[0], c[1], c[2], cu, cw);
    vp_.project(a[0], a[1], a[2], au, aw); // the projection has no offset
    vp_.project(b[0], b[1], b[2], bu, bw);
    const double x = vp_.pixel_x(cu), y = vp_.pixel_y(cw);
    const double dx = std::abs(r * std::hypot(au, bu) * vp_.ScaleX), dy = std::abs(r * std::hypot(aw, bw) * vp_.ScaleY);
    // Only a circle whose every point fits the raster is judged here.
    if (!view::fits_int(x - dx) || !view::fits_int(x + dx) || !view::fits_int(y - dy) || !view::fits_int(y + dy))
        return false;
    return off_picture(x - dx, y - dy, x + dx, y + dy);
}

void ElementPainter::use_pen()
{
    if (penDirty_)
        apply_pen();
}

// ---------------------------------------------------------------- projection

bool ElementPainter::to_pixel(double x, double y, double z, QPoint& p) const
{
    int px = 0, py = 0;
    if (!vp_.to_pixel(x, y, z, px, py))
        return false;
    p = QPoint(px, py);
    return true;
}

// ---------------------------------------------------------------- pen set-up

void ElementPainter::apply_pen()
{
    flush();
    QPen pen(QColor::fromRgba(penArgb_), penWidth_, penStyle_, Qt::SquareCap, Qt::BevelJoin);
    if (target_ == PaintTarget::Picture) {
        out_.setPen(pen);
        picturePen_ = pen;
    } else {
        out_.setPen(pen);
        out_.setBrush(Qt::NoBrush);
    }
    penApplied_ = true;
    penDirty_ = false;
    choose_writer();
}

void ElementPainter::set_color(TColor Colour, int LineType)
{
    QRgb argb = 0;
    Qt::PenStyle style = penStyle_;
    double width = penWidth_;
    if (target_ == PaintTarget::Canvas) {
        argb = opaque_argb(Colour);
        if (LineType >= 0 && LineType <= 4)
            dash_style(LineType, style);
    } else {
        argb = outline_argb(Colour);
        dash_style(LineType, style);
        width = LineType > 20 ? 2.0 : 1.0;
    }
    if (penApplied_ && argb == penArgb_ && style == penStyle_ && width == penWidth_)
        return;
    penArgb_ = argb;
    penStyle_ = style;
    penWidth_ = width;
    penDirty_ = true;
}

void ElementPainter::set_print_color(TColor Colour)
{
    const QRgb argb = s_.PrintMonochrome ? 0xFF000000u : opaque_argb(Colour);
    if (penApplied_ && argb == penArgb_)
        return;
    penArgb_ = argb;
    penDirty_ = true;
}

void ElementPainter::set_draw_dc(TColor Colour, int LineType)
{
    if (target_ == PaintTarget::Printer)
        set_print_color(Colour);
    else
        set_color(Colour, LineType);
}

void ElementPainter::flush()
{
    if (lines_.empty())
        return;
    out_.drawLines(lines_.data(), static_cast<int>(lines_.size()));
    lines_.clear();
}

void ElementPainter::segment(const QPoint& a, const QPoint& b)
{
    use_pen();
    if (direct_) {
        writer_->line(a.x(), a.y(), b.x(), b.y());
        return;
    }
    // Dashed outlines restart their pattern with every line drawn on its own,
    // so only solid lines are gathered into one call.
    if (penStyle_ == Qt::SolidLine) {
        lines_.emplace_back(a, b);
        if (lines_.size() >= 4096)
            flush();
    } else {
        out_.drawLine(a, b);
    }
}

// ---------------------------------------------------------------- element loop

void ElementPainter::plot_elements(const TElements& elements, int View, int Mode)
{
    if (View < 1 || View > 4)
        return;
    mode_ = Mode;
    int drawn = 0;
    currentElement_ = -1;
    for (const TElement* e : elements) {
        ++currentElement_;
        if (e->GetDeleted())
            continue;
        const int layer = e->GetLayer();
        const bool visible = layer >= 0 && layer <= 254 && s_.LayerVisible[layer];
        switch (Mode) {
        case codes::kPlotAll:
            break;
        case codes::kPlotVisible:
            if (!visible)
                continue;
            break;
        case codes::kPlotGroup:
            if (e->GetHighlight() != codes::kHighlightGroup)
                continue;
            break;
        case codes::kPlotHighlight5:
            if (e->GetHighlight() != codes::kHighlightMagenta)
                continue;
            break;
        case codes::kPlotDragPreview:
            if (drawn >= kDragElements)
                goto done;
            if (!visible)
                continue;
            ++drawn;
            break;
        default:
            return;
        }
        draw_element(*e);
    }
done:
    if (s_.ShowAxis)
        draw_axis();
    finish();
}

void ElementPainter::plot_listed(const TElements& elements, const std::vector<int>& listed)
{
    mode_ = codes::kPlotVisible;
    for (const int i : listed) {
        const TElement& e = elements.GetElement(i);
        // The index lists a region by its first edge, whether that is shown
        // or not: the region picks its shown edges itself.
        if (e.GetEtype() == etFillEdge)
            draw_region(e);
        else if (shown(e))
            draw_element(e);
    }
    if (s_.ShowAxis)
        draw_axis();
    finish();
}

void ElementPainter::plot_marked(const TElements& elements, const std::vector<std::uint8_t>& marked)
{
    mode_ = codes::kPlotVisible;
    const int count = std::min(elements.Count(), static_cast<int>(marked.size()));
    for (int i = 0; i < count; ++i) {
        if (!marked[static_cast<std::size_t>(i)])
            continue;
        currentElement_ = i;
        const TElement& e = elements.GetElement(i);
        if (e.GetEtype() == etFillEdge)
            draw_region(e);
        else if (shown(e))
            draw_element(e);
    }
    if (s_.ShowAxis)
        draw_axis();
    finish();
}

void ElementPainter::finish()
{
    if (penDirty_)
        apply_pen(); // the pen of the last figure, also when it was off the picture
    flush();
}

namespace {
// White is a drawing's foreground colour (AutoCAD's colour 7, the white of
// the file tables): on a light background it is drawn black, so that it
// stands out on any background as CAD programs show it.
TColor foreground_on(TColor colour, TColor background)
{
    if (colour != 0xFFFFFF)
        return colour;
    const int r = background & 0xFF, g = (background >> 8) & 0xFF, b = (background >> 16) & 0xFF;
    const bool light = 299 * r + 587 * g + 114 * b > 127500;
    return light ? 0x000000 : colour;
}
} // namespace

bool ElementPainter::shown(const TElement& e) const
{
    if (e.GetDeleted())
        return false;
    const int layer = e.GetLayer();
    switch (mode_) {
    case codes::kPlotVisible:
    case codes::kPlotDragPreview:
        return layer >= 0 && layer <= 254 && s_.LayerVisible[layer];
    case codes::kPlotGroup:
        return e.GetHighlight() == codes::kHighlightGroup;
    case codes::kPlotHighlight5:
        return e.GetHighlight() == codes::kHighlightMagenta;
    default:
        return true;
    }
}

TColor ElementPainter::element_colour(const TElement& e) const
{
    TColor colour = foreground_on(e.GetColor(), s_.BackgroundColor);
    if (target_ != PaintTarget::Canvas) {
        switch (e.GetHighlight()) {
        case codes::kHighlightYellow:
            colour = 0x00FFFF;
            break;
        case codes::kHighlightGroup:
            colour = 0x0000FF;
            break;
        case codes::kHighlightBackground:
            colour = s_.BackgroundColor;
            break;
        case codes::kHighlightMagenta:
            colour = 0xFF00FF;
            break;
        case codes::kHighlightDarkRed:
            colour = 0x000063;
            break;
        default:
            break;
        }
    }
    // White outlines would vanish on paper: they print black.
    if (target_ == PaintTarget::Printer && colour == 0xFFFFFF)
        colour = 0;
    return colour;
}

void ElementPainter::draw_element(const TElement& e)
{
    if (e.GetDeleted())
        return;
    const TColor colour = element_colour(e);
    switch (e.GetEtype()) {
    case etPoint:
        draw_point(e.slot(0), e.slot(1), e.slot(2), colour);
        break;
    case etLine:
        // A line that cannot be placed on the raster is left out (draw_line
        // checks its pixels), so nothing of a line can end the pass.
        draw_line(e.slot(0), e.slot(1), e.slot(2), e.slot(3), e.slot(4), e.slot(5), colour, e.GetLineType());
        break;
    case etArc:
        draw_arc(e.slot(0), e.slot(1), e.slot(2), e.slot(3), e.slot(4), e.slot(5), colour, e.GetLineType(),
                 e.GetView());
        break;
    case etCircle:
        draw_circle(e.slot(0), e.slot(1), e.slot(2), e.slot(3), colour, e.GetLineType(), e.GetView(), e.GetImage());
        break;
    case etImage:
        draw_image(e.slot(0), e.slot(1), e.slot(2), e.slot(3), e.GetImage());
        break;
    case etEllipse:
        draw_ellipse(e.slot(0), e.slot(1), e.slot(4), e.slot(5), foreground_on(e.GetColor(), s_.BackgroundColor),
                     e.GetLineType());
        break;
    case etRectangle:
        draw_rectangle(e.slot(0), e.slot(1), e.slot(4), e.slot(5), foreground_on(e.GetColor(), s_.BackgroundColor),
                       e.GetLineType(), e.GetView());
        break;
    case etClipRect:
        draw_clip_rect(e.slot(0), e.slot(1), e.slot(2), e.slot(3));
        break;
    case etFillEdge:
        draw_region(e);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- figures

void ElementPainter::draw_line(double x1, double y1, double z1, double x2, double y2, double z2, TColor Colour,
                               int LineType)
{
    QPoint p1, p2;
    if (!to_pixel(x1, y1, z1, p1) || !to_pixel(x2, y2, z2, p2))
        return; // cannot be placed on a 32-bit raster
    set_draw_dc(Colour, LineType);
    if (!off_picture(std::min(p1.x(), p2.x()), std::min(p1.y(), p2.y()), std::max(p1.x(), p2.x()),
                     std::max(p1.y(), p2.y())))
        segment(p1, p2);
}

void ElementPainter::draw_point(double x, double y, double z, TColor Colour)
{
    QPoint p;
    if (!to_pixel(x, y, z, p) || beyond_limit(p.x()) || beyond_limit(p.y()))
        return;
    set_draw_dc(Colour, 0);
    if (off_picture(p.x() - 5, p.y() - 5, p.x() + 5, p.y() + 5))
        return;
    segment(QPoint(p.x() + 5, p.y()), QPoint(p.x() - 5, p.y()));
    if (target_ == PaintTarget::Picture)
        segment(QPoint(p.x(), p.y() - 5), QPoint(p.x(), p.y() + 5));
    else
        segment(QPoint(p.x(), p.y() + 5), QPoint(p.x(), p.y() - 5));
}

void ElementPainter::draw_arc(double cx, double cy, double cz, double Radius, double StartAngle, double EndAngle,
                              TColor Colour, int LineType, int ArcView)
{
    if (vp_.View != 1) {
        draw_3d_arc(cx, cy, cz, Radius, StartAngle, EndAngle, Colour, LineType, ArcView);
        return;
    }
    set_draw_dc(Colour, LineType);
    if (s_.PolylineArcs || ArcView != 1) {
        draw_3d_arc(cx, cy, cz, Radius, StartAngle, EndAngle, Colour, LineType, ArcView);
        return;
    }
    double left = 0, top = 0, right = 0, bottom = 0;
    if (!vp_.box_pixel(cx - Radius, cy + Radius, left, top) || !vp_.box_pixel(cx + Radius, cy - Radius, right, bottom))
        return;
    if (off_picture(left, top, right, bottom))
        return;
    use_pen();

    const double start = Ops::fix_angle(StartAngle);
    const double end = Ops::fix_angle(EndAngle == 0 ? 360 : EndAngle);
    const double sweep = Ops::get_arc_angle(start, end, 3);

    if (target_ == PaintTarget::Picture) {
        // The arc runs clockwise on the screen from 360 - end through the
        // sweep; in QPainter's counter-clockwise degrees that is a start of
        // end - 360 and a negative span.
        const double clockwiseStart = end == 0 ? 0 : 360 - end;
        const QRectF box(left, top, right - left, bottom - top);
        const int from = static_cast<int>(std::lround(-clockwiseStart * 16)),
                  span = static_cast<int>(std::lround(-sweep * 16));
        if (direct_) {
            writer_->arc(box.x(), box.y(), box.width(), box.height(), from / 16.0, span / 16.0);
            return;
        }
        flush();
        out_.drawArc(box, from, span);
        return;
    }
    // Canvases: the arc between its start and end points, skipped when far
    // off the page or shorter than two pixels.
    const double s = StartAngle / codes::kDegreesPerRadian, e = EndAngle / codes::kDegreesPerRadian;
    const double xs = vp_.pixel_x(cx + Radius * std::cos(s)), ys = vp_.pixel_y(cy + Radius * std::sin(s));
    const double xe = vp_.pixel_x(cx + Radius * std::cos(e)), ye = vp_.pixel_y(cy + Radius * std::sin(e));
    if (beyond_limit(xs) || beyond_limit(ys) || beyond_limit(xe) || beyond_limit(ye))
        return;
    const double pxs = std::nearbyint(xs), pys = std::nearbyint(ys), pxe = std::nearbyint(xe), pye = std::nearbyint(ye);
    if (std::abs(pxs - pxe) < 2 && std::abs(pys - pye) < 2)
        return;
    flush();
    out_.drawArc(QRectF(left, top, right - left, bottom - top), static_cast<int>(std::lround(start * 16)),
                 static_cast<int>(std::lround(sweep * 16)));
}

void ElementPainter::plane_point(double cx, double cy, double cz, double c, double s, int ArcView, double& x, double& y,
                                 double& z) const
{
    switch (ArcView) {
    case -1:
        x = cx + c, y = cy + s, z = cz;
        return;
    case -2:
        x = cx + c, y = cy, z = cz + s;
        return;
    case -3:
        x = cx, y = cy + c, z = cz + s;
        return;
    default: {
        const TArcView& m = s_.ArcViews[ArcView];
        const double u = cx + c, v = cy + s, w = cz;
        x = m.M11 * u + m.M12 * v + m.M13 * w;
        y = m.M21 * u + m.M22 * v + m.M23 * w;
        z = m.M31 * u + m.M32 * v + m.M33 * w;
        return;
    }
    }
}

void ElementPainter::draw_3d_arc(double cx, double cy, double cz, double Radius, double StartAngle, double EndAngle,
                                 TColor Colour, int LineType, int ArcView)
{
    // Arc views -3..-1 are the model's coordinate planes, 1..90 the table's;
    // any other number names no plane and draws nothing.
    if (!((ArcView >= -3 && ArcView <= -1) || (ArcView >= 1 && ArcView <= 90)))
        return;
    if (LineType == 10 || LineType == 20)
        LineType /= 10;
    if (arc_off_picture(cx, cy, cz, Radius, ArcView)) {
        set_draw_dc(Colour, LineType); // as its segments would have left the pen
        return;
    }
    const double sweep = Ops::get_arc_angle(StartAngle, EndAngle, 3);
    const double length = std::abs(2 * M_PI * Radius) / (360 / std::abs(sweep));
    const double segmentsF = std::trunc(length * vp_.ScaleX);
    long long n = view::fits_int(segmentsF) ? static_cast<long long>(segmentsF) / 10 : 360;
    n = std::clamp<long long>(n, 10, 360);

    // The radius vector turns by one fixed rotation per segment.
    const double start = StartAngle / codes::kDegreesPerRadian, step = (sweep / n) / codes::kDegreesPerRadian;
    const double turnCos = std::cos(step), turnSin = std::sin(step);
    double c = Radius * std::cos(start), sn = Radius * std::sin(start);
    double px = 0, py = 0, pz = 0;
    plane_point(cx, cy, cz, c, sn, ArcView, px, py, pz);
    for (long long i = 1; i <= n; ++i) {
        const double turned = c * turnCos - sn * turnSin;
        sn = sn * turnCos + c * turnSin;
        c = turned;
        double x = 0, y = 0, z = 0;
        plane_point(cx, cy, cz, c, sn, ArcView, x, y, z);
        draw_line(px, py, pz, x, y, z, Colour, LineType);
        px = x, py = y, pz = z;
    }
    if (n < sweep) {
        const double end = EndAngle / codes::kDegreesPerRadian;
        double x = 0, y = 0, z = 0;
        plane_point(cx, cy, cz, Radius * std::cos(end), Radius * std::sin(end), ArcView, x, y, z);
        draw_line(px, py, pz, x, y, z, Colour, LineType);
    }
}

void ElementPainter::draw_circle(double cx, double cy, double /*cz*/, double Radius, TColor Colour, int LineType,
                                 int FillCode, const QImage* texture)
{
    int px = 0, py = 0;
    const double rF = Radius * vp_.ScaleX;
    if (!vp_.flat_pixel(cx, cy, px, py) || !view::fits_int(rF))
        return;
    const double rp = std::nearbyint(rF);
    const double left = px - rp, right = px + rp, upper = py - rp, lower = py + rp;
    if (beyond_limit(left) || beyond_limit(right) || beyond_limit(upper) || beyond_limit(lower))
        return;
    if (right - left < 2 && lower - upper < 2)
        return;
    const QRectF box(left, upper, right - left, lower - upper);
    set_draw_dc(Colour, LineType);
    if (off_picture(left, upper, right, lower))
        return;
    use_pen();
    if (target_ != PaintTarget::Picture) {
        flush();
        out_.drawEllipse(box);
        return;
    }
    fill_circle(box, Colour, LineType, FillCode, texture);
}

void ElementPainter::fill_circle(const QRectF& box, TColor Colour, int LineType, int FillCode, const QImage* texture)
{
    use_pen();
    flush();
    using namespace codes;
    const bool linear = FillCode >= kFillLinearFirst && FillCode <= kFillLinearLast;
    const bool translucent = FillCode >= kFillTranslucentFirst && FillCode <= kFillTranslucentLast;
    const bool filled =
        FillCode == kFillSolid || FillCode == kFillRadial || FillCode == kFillTexture || linear || translucent;
    if (!filled) {
        ellipse_outline(box.toRect()); // an outline needs no path
        return;
    }
    QPainterPath disc;
    disc.addEllipse(box);
    if (FillCode == kFillSolid) {
        out_.fillPath(disc, fill_brush(Colour));
    } else if (linear) {
        out_.fillPath(disc, linear_gradient(box, FillCode - kFillLinearFirst, opaque_color(Colour), Qt::white));
    } else if (translucent) {
        const QColor black(0, 0, 0, LineType & 0xFF);
        const QColor white(255, 255, 255, (static_cast<std::uint32_t>(Colour) >> 24) & 0xFF);
        out_.fillPath(disc, linear_gradient(box, FillCode - kFillTranslucentFirst, black, white));
    } else if (FillCode == kFillRadial) {
        // Bell-shaped blend focused on the rim: the element colour at 90 %
        // on the boundary, fading to the surround colour towards the centre.
        QRadialGradient gradient(box.center(), box.width() / 2);
        const QColor centre = opaque_color(Colour);
        for (int k = 0; k <= 10; ++k) {
            const double fromRim = k / 10.0;
            const double weight = 0.9 * std::exp(-8.0 * fromRim * fromRim);
            const QColor mixed(static_cast<int>(std::lround(centre.red() * weight + 255 * (1 - weight))),
                               static_cast<int>(std::lround(centre.green() * weight + 255 * (1 - weight))),
                               static_cast<int>(std::lround(centre.blue() * weight + 255 * (1 - weight))));
            gradient.setColorAt(1.0 - fromRim, mixed);
        }
        out_.fillPath(disc, gradient);
    } else { // kFillTexture: the element's image
        if (texture == nullptr || texture->isNull())
            return;
        QBrush brush(*texture);
        brush.setTransform(QTransform::fromTranslate(box.left(), box.bottom()));
        out_.fillPath(disc, brush);
    }
}

const QBrush& ElementPainter::fill_brush(TColor Colour)
{
    lastFillElement_ = currentElement_;
    if (!fillBrush_)
        fillBrush_ = s_.FillBrush;
    fillBrush_->setColor(opaque_color(Colour));
    return *fillBrush_;
}

bool ElementPainter::flat_box(double a, double b, double Width, double Height, int& x, int& y, int& w, int& h) const
{
    const double wF = Width * vp_.ScaleX, hF = Height * vp_.ScaleY;
    if (!vp_.flat_pixel(a, b, x, y) || !view::fits_int(wF) || !view::fits_int(hF))
        return false;
    w = static_cast<int>(std::nearbyint(wF));
    h = -static_cast<int>(std::nearbyint(hF));
    return true;
}

void ElementPainter::draw_rectangle(double cx, double cy, double Width, double Height, TColor Colour, int LineType,
                                    int FillCode)
{
    int cxp = 0, cyp = 0, w = 0, h = 0;
    if (!flat_box(cx, cy, Width, Height, cxp, cyp, w, h))
        return;
    const int left = cxp - w / 2, top = cyp - h / 2;
    set_draw_dc(Colour, LineType);
    use_pen();
    flush();
    if (FillCode == codes::kFillSolid) {
        out_.fillRect(QRect(left, top, w, h), fill_brush(Colour));
    } else {
        out_.drawRect(QRectF(left, top, w, h));
    }
}

void ElementPainter::draw_ellipse(double cx, double cy, double Width, double Height, TColor Colour, int LineType)
{
    int cxp = 0, cyp = 0, w = 0, h = 0;
    if (!flat_box(cx, cy, Width, Height, cxp, cyp, w, h))
        return;
    set_draw_dc(Colour, LineType);
    use_pen();
    if (target_ == PaintTarget::Picture) {
        ellipse_outline(QRect(cxp - w / 2, cyp - h / 2, w, h));
        return;
    }
    flush();
    out_.drawEllipse(QRectF(cxp - w / 2, cyp - h / 2, w, h));
}

void ElementPainter::ellipse_outline(const QRect& box)
{
    // QRect's width() and height() of a box given by corner and size.
    const int w = box.width(), h = box.height();
    if (direct_ && (antialias_ || penWidth_ == 2.0)) {
        writer_->arc(box.x(), box.y(), w, h, 0, 360);
        return;
    }
    // The aliased thin outline matches the raster engine's for boxes of even
    // sides, the only ones circles have.
    if (direct_ && w > 0 && h > 0 && w % 2 == 0 && h % 2 == 0) {
        writer_->ellipse(box.x(), box.y(), w, h);
        return;
    }
    flush();
    out_.drawEllipse(QRectF(box));
}

void ElementPainter::draw_image(double Left, double Top, double Width, double Height, const QImage* image)
{
    int x = 0, y = 0, w = 0, h = 0;
    if (image == nullptr || image->isNull() || !flat_box(Left, Top, Width, Height, x, y, w, h))
        return;
    if (beyond_limit(x) || beyond_limit(y))
        return;
    flush();
    out_.drawImage(QRect(x, y, std::abs(w), std::abs(h)), *image);
}

void ElementPainter::draw_clip_rect(double Left, double Top, double Width, double Height)
{
    flush();
    if (Left == -999 && Top == -999) {
        if (target_ == PaintTarget::Picture && !pictureRect_.isNull()) {
            out_.setClipRect(cullRect_, Qt::ReplaceClip); // back to the whole picture (or band)
            lastClip_ = pictureRect_;
            clip_writer();
        } else
            out_.setClipping(false);
        return;
    }
    int x = 0, y = 0, w = 0, h = 0;
    if (flat_box(Left, Top, Width, Height, x, y, w, h)) {
        out_.setClipRect(QRect(x, y, w, h), Qt::ReplaceClip);
        if (!band_.isNull())
            out_.setClipRect(band_, Qt::IntersectClip);
        if (target_ == PaintTarget::Picture)
            lastClip_ = QRect(x, y, w, h);
        clip_writer();
    }
}

// ---------------------------------------------------------------- filled regions

namespace {
// The part of a closed polygon inside a rectangle (Sutherland-Hodgman, one
// side at a time). Clipping each loop on its own keeps the even-odd fill
// inside the rectangle: the pieces laid along its sides enclose nothing.
std::vector<QPointF> clipped(std::vector<QPointF> polygon, const QRectF& r)
{
    const auto clip_side = [&](auto inside, auto cross) {
        std::vector<QPointF> out;
        out.reserve(polygon.size() + 4);
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            const QPointF& a = polygon[i];
            const QPointF& b = polygon[(i + 1) % polygon.size()];
            const bool ain = inside(a), bin = inside(b);
            if (ain)
                out.push_back(a);
            if (ain != bin)
                out.push_back(cross(a, b));
        }
        polygon.swap(out);
    };
    const auto at_x = [](const QPointF& a, const QPointF& b, double x) {
        return QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x()));
    };
    const auto at_y = [](const QPointF& a, const QPointF& b, double y) {
        return QPointF(a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()), y);
    };
    clip_side([&](const QPointF& p) { return p.x() >= r.left(); },
              [&](const QPointF& a, const QPointF& b) { return at_x(a, b, r.left()); });
    clip_side([&](const QPointF& p) { return p.x() <= r.right(); },
              [&](const QPointF& a, const QPointF& b) { return at_x(a, b, r.right()); });
    clip_side([&](const QPointF& p) { return p.y() >= r.top(); },
              [&](const QPointF& a, const QPointF& b) { return at_y(a, b, r.top()); });
    clip_side([&](const QPointF& p) { return p.y() <= r.bottom(); },
              [&](const QPointF& a, const QPointF& b) { return at_y(a, b, r.bottom()); });
    return polygon;
}
} // namespace

std::vector<std::vector<QPointF>> ElementPainter::region_loops(const TElements& list, const EdgeRun& run,
                                                               const TElement*& first) const
{
    // The edges follow each other along their loops: a loop goes on while
    // an edge starts where the one before ended and has not come back to
    // where the loop began.
    std::vector<std::vector<QPointF>> loops;
    bool open = false;
    std::array<double, 3> begin{}, end{};
    for (int i = run.First; i <= run.Last; ++i) {
        const TElement& e = list[i];
        if (!shown(e)) {
            open = false;
            continue;
        }
        if (first == nullptr)
            first = &e;
        double u1 = 0, w1 = 0, u2 = 0, w2 = 0;
        vp_.project(e.slot(0), e.slot(1), e.slot(2), u1, w1);
        vp_.project(e.slot(3), e.slot(4), e.slot(5), u2, w2);
        const QPointF a(vp_.pixel_x(u1), vp_.pixel_y(w1)), b(vp_.pixel_x(u2), vp_.pixel_y(w2));
        if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) || !std::isfinite(b.y())) {
            open = false;
            continue;
        }
        const std::array<double, 3> from{e.slot(0), e.slot(1), e.slot(2)};
        if (!open || from != end) {
            loops.emplace_back(1, a);
            begin = from;
        }
        loops.back().push_back(b);
        end = {e.slot(3), e.slot(4), e.slot(5)};
        open = end != begin;
    }
    return loops;
}

void ElementPainter::draw_region(const TElement& e)
{
    const TElements* list = e.Collection();
    if (list == nullptr)
        return;
    const int at = e.Index();
    if (list == regionList_ && at >= lastRun_.First && at <= lastRun_.Last)
        return; // drawn with an earlier edge of its run
    if (list != regionList_) {
        regionList_ = list;
        drawnRegions_.clear();
    }
    lastRun_ = fill_run(*list, at);
    if (!drawnRegions_.insert(lastRun_.First).second)
        return;

    const TElement* first = nullptr;
    std::vector<std::vector<QPointF>> loops = region_loops(*list, lastRun_, first);
    if (first == nullptr)
        return;
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
    for (const std::vector<QPointF>& loop : loops)
        for (const QPointF& p : loop) {
            left = std::min(left, p.x()), right = std::max(right, p.x());
            top = std::min(top, p.y()), bottom = std::max(bottom, p.y());
        }
    if (left > right || off_picture(left, top, right, bottom))
        return;
    // Far beyond the picture (or any page) the painter's fixed-point
    // coordinates would overflow: the loops are cut to a frame around it.
    const QRectF frame = pictureRect_.isNull() ? QRectF(-kPixelLimit, -kPixelLimit, 2 * kPixelLimit, 2 * kPixelLimit)
                                               : QRectF(pictureRect_).adjusted(-4, -4, 4, 4);
    const bool cut = left < frame.left() || right > frame.right() || top < frame.top() || bottom > frame.bottom();
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (std::vector<QPointF>& loop : loops) {
        if (cut)
            loop = clipped(std::move(loop), frame);
        if (loop.size() < 3)
            continue;
        path.moveTo(loop.front());
        for (std::size_t i = 1; i < loop.size(); ++i)
            path.lineTo(loop[i]);
        path.closeSubpath();
    }
    if (path.isEmpty())
        return;
    const TColor colour = element_colour(*first);
    QRgb argb = 0;
    if (target_ == PaintTarget::Picture)
        argb = outline_argb(colour);
    else if (target_ == PaintTarget::Printer && s_.PrintMonochrome)
        argb = 0xFF000000u;
    else
        argb = opaque_argb(colour);
    flush();
    out_.fillPath(path, QBrush(QColor::fromRgba(argb)));
}

void ElementPainter::draw_axis()
{
    if (vp_.View < 1 || vp_.View > 4)
        return;
    const double L = std::max(std::abs(s_.CenterX[vp_.View]), std::abs(s_.CenterY[vp_.View])) + s_.HalfSize[vp_.View];
    draw_line(-L, 0, 0, L, 0, 0, 0x0000FF, 0);
    draw_line(0, -L, 0, 0, L, 0, 0x0000FF, 0);
    draw_line(0, 0, -L, 0, 0, L, 0x0000FF, 0);
}

} // namespace orvex
