// Draws elements and figures of one drawing onto a QPainter: the off-screen
// picture, an exported image, a vector (SVG) canvas or a printer page.
//
// The caller names the target and the viewport; the settings are only read.
// On a picture, solid opaque outlines one or two pixels wide (lines, points,
// arcs and circle outlines) are written straight into a 32-bit picture's
// pixels by a RasterWriter, everything else goes through QPainter. A vector
// copy of the drawing and a printer page get every figure with that target's
// pen rules instead.
#pragma once

#include "render/raster_writer.h"
#include "store/fill_regions.h"
#include "view/viewport.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QLine>
#include <QPainter>

#include <cstdint>
#include <optional>
#include <unordered_set>
#include <vector>

namespace orvex {

/// What a paint pass draws on. The picture is the screen's off-screen
/// picture or an exported image, drawn with the control's pens and
/// highlights; the clipboard's vector copy and the printer page keep their
/// own pen rules and get outlines only, and filled regions.
enum class PaintTarget { Picture, Canvas, Printer };

class ElementPainter {
public:
    /// Draws on out, a painter of the given kind, through the viewport, with
    /// the settings' layers, arc planes, pen and brush as they stand. Writes
    /// nothing into the settings: the pen and fill colour it leaves are
    /// reported by last_pen() and last_fill().
    ElementPainter(QPainter& out, PaintTarget target, const view::Viewport& viewport, const TSettings& settings);
    /// Draws on one band of a picture: the rows of band only, every pixel as
    /// the whole picture's pass would write it. Clip rectangles meet the band,
    /// and figures that cannot reach it are skipped.
    ElementPainter(QPainter& out, const view::Viewport& viewport, const TSettings& settings, const QRect& band);
    ~ElementPainter();
    ElementPainter(const ElementPainter&) = delete;
    ElementPainter& operator=(const ElementPainter&) = delete;

    /// The element loop. Modes: 0 every live element, 1 those on visible
    /// layers, 2 group members (highlight 2), 3 highlight 5, 4 the first 200
    /// on visible layers (drag feedback). Then the axis when shown.
    void plot_elements(const TElements& elements, int View, int Mode);
    /// The elements at these ascending indices that are live and on visible
    /// layers, then the axis when shown: mode 1 of the element loop over a
    /// part of the list.
    void plot_listed(const TElements& elements, const std::vector<int>& listed);
    /// The marked elements (by index) that are live and on visible layers,
    /// then the axis when shown: mode 1 of the element loop over a part of
    /// the list; a marked fill edge stands for its whole region.
    void plot_marked(const TElements& elements, const std::vector<std::uint8_t>& marked);
    /// Colour (highlights) and dispatch by type.
    void draw_element(const TElement& e);
    /// The filled region whose fill edge e is, once a pass however many of
    /// its edges come: the run's edges that the element loop shows (live
    /// ones, on visible layers in the modes that ask), filled even-odd in
    /// the colour of the first of them.
    void draw_region(const TElement& e);

    void draw_line(double x1, double y1, double z1, double x2, double y2, double z2, TColor Colour, int LineType);
    void draw_point(double x, double y, double z, TColor Colour);
    void draw_arc(double cx, double cy, double cz, double Radius, double StartAngle, double EndAngle, TColor Colour,
                  int LineType, int ArcView);
    void draw_3d_arc(double cx, double cy, double cz, double Radius, double StartAngle, double EndAngle, TColor Colour,
                     int LineType, int ArcView);
    void draw_circle(double cx, double cy, double cz, double Radius, TColor Colour, int LineType, int FillCode,
                     const QImage* texture = nullptr);
    void draw_rectangle(double cx, double cy, double Width, double Height, TColor Colour, int LineType, int FillCode);
    void draw_ellipse(double cx, double cy, double Width, double Height, TColor Colour, int LineType);
    void draw_image(double Left, double Top, double Width, double Height, const QImage* image);
    void draw_clip_rect(double Left, double Top, double Width, double Height);
    void draw_axis();

    /// Pen set-up for an outline of this colour and line type.
    void set_draw_dc(TColor Colour, int LineType);

    /// Sends batched lines to the painter; done automatically when needed.
    void flush();
    /// Gives the painter the pen of the last figure and sends the batched
    /// lines: the end of a pass, also done on destruction.
    void finish();

    /// The outline pen the picture was last given, if any: the control
    /// keeps it as its current pen for the next pass.
    const std::optional<QPen>& last_pen() const { return picturePen_; }
    /// The fill brush as last recoloured, if any.
    const std::optional<QBrush>& last_fill() const { return fillBrush_; }
    /// Whether an outline pen was set up in this pass.
    bool pen_set_up() const { return penApplied_ || penDirty_; }
    /// The clip a clip rectangle element of this pass left on the whole
    /// picture, if any (a band's own clip is this one met with the band).
    const std::optional<QRect>& last_clip() const { return lastClip_; }
    /// The index of the element whose fill last recoloured the fill brush.
    int last_fill_element() const { return lastFillElement_; }

private:
    void start();
    // Projection of a model point to pixels in the current view. False when
    // the pixel does not fit in 32 bits.
    bool to_pixel(double x, double y, double z, QPoint& p) const;
    // Flat mapping of a point with a model size: corner pixel, width
    // Nearest(Width * scale) and height -Nearest(Height * y scale).
    bool flat_box(double a, double b, double Width, double Height, int& x, int& y, int& w, int& h) const;
    void segment(const QPoint& a, const QPoint& b);
    // Whether a figure with this pixel box cannot reach the picture (always
    // false on canvases, which keep every figure).
    bool off_picture(double left, double top, double right, double bottom) const;
    bool arc_off_picture(double cx, double cy, double cz, double r, int ArcView) const;
    // The pen as last set up goes to the painter before it draws.
    void use_pen();
    void keep_picture_clip();
    // The writer for a picture a QPainter would fill pixel by pixel itself,
    // and its clip taken from the painter's.
    void attach_writer();
    void clip_writer();
    // Whether the pen as set up now goes through the writer.
    void choose_writer();
    // A whole ellipse outline in the box, through the writer when it can.
    void ellipse_outline(const QRect& box);
    void set_color(TColor Colour, int LineType);
    // The colour an element is drawn in: highlights, and the foreground
    // and paper rules for white.
    TColor element_colour(const TElement& e) const;
    // Whether the element loop in its current mode shows e.
    bool shown(const TElement& e) const;
    // The fill edges of a run as closed loops of pixel points.
    std::vector<std::vector<QPointF>> region_loops(const TElements& list, const EdgeRun& run,
                                                   const TElement*& first) const;
    // The fill brush in this colour.
    const QBrush& fill_brush(TColor Colour);
    void set_print_color(TColor Colour);
    void apply_pen();
    // The model point of the arc's plane point at offset (c, s) from its centre.
    void plane_point(double cx, double cy, double cz, double c, double s, int ArcView, double& x, double& y,
                     double& z) const;
    void fill_circle(const QRectF& box, TColor Colour, int LineType, int FillCode, const QImage* texture);

    QPainter& out_;
    const TSettings& s_;
    const PaintTarget target_;
    const view::Viewport vp_;
    std::optional<QPen> picturePen_;
    std::optional<QBrush> fillBrush_;
    // The picture's own rectangle when drawing into a picture, else null.
    QRect pictureRect_;
    // The rows a band pass writes (null: the whole picture), and the part of
    // the picture figures must reach to be drawn.
    QRect band_;
    QRect cullRect_;
    std::optional<QRect> lastClip_;
    int lastFillElement_ = -1;
    int currentElement_ = -1;

    // The outline pen as last set up, and whether the painter has it.
    QRgb penArgb_ = 0;
    Qt::PenStyle penStyle_ = Qt::SolidLine;
    double penWidth_ = 1.0;
    bool penApplied_ = false;
    bool penDirty_ = false; // set up but not yet given to the painter

    // Consecutive solid lines of one pen are drawn in one call.
    std::vector<QLine> lines_;

    // The element loop's mode, which decides the edges a region is made of.
    int mode_ = 0;
    // The regions drawn in this pass, by their first edge, and the run of
    // the last one.
    const TElements* regionList_ = nullptr;
    std::unordered_set<int> drawnRegions_;
    EdgeRun lastRun_;

    std::optional<RasterWriter> writer_;
    bool antialias_ = false;
    bool direct_ = false; // the current pen's outlines go through writer_
};

} // namespace orvex
