// The programmatic drawing interface: the element factory, the Make...
// methods that add elements and the Draw... methods that paint figures once.
#include "render/paint_pass.h"
#include "store/element_factory.h"
#include "view/view_math.h"

#include <OrvexGDI/QOrvexGDI.h>

namespace orvex {

int TOrvexGDI::make_element(int Etype, double c1, double c2, double c3, double c4, double c5, double c6, TColor Colour,
                            int LineType, int Layer, int Highlight, int View)
{
    TElement* e = add_element(*Elements, Etype, c1, c2, c3, c4, c5, c6, Colour, LineType, Layer, Highlight, View);
    if (e == nullptr)
        return -1;
    if (Etype != etNone && !is_construction_line(LineType))
        view::set_max_min(*Settings, *e);
    return e->Index();
}

namespace {
constexpr int kNoImageColour = 0;
} // namespace

int TOrvexGDI::MakePoint(double X, double Y, double Z)
{
    return make_element(etPoint, X, Y, Z, 0, 0, 0, Settings->DrawColor, Settings->LineType, Settings->CurrentLayer, 0,
                        1);
}

int TOrvexGDI::MakeLine(double X1, double Y1, double Z1, double X2, double Y2, double Z2)
{
    return make_element(etLine, X1, Y1, Z1, X2, Y2, Z2, Settings->DrawColor, Settings->LineType, Settings->CurrentLayer,
                        0, 1);
}

int TOrvexGDI::MakeArc(int ArcView, double CX, double CY, double CZ, double Radius, double StartAngle, double EndAngle)
{
    return make_element(etArc, CX, CY, CZ, Radius, StartAngle, EndAngle, Settings->DrawColor, Settings->LineType,
                        Settings->CurrentLayer, 0, ArcView);
}

int TOrvexGDI::MakeCircle(int FillCode, double CX, double CY, double CZ, double Radius)
{
    return make_element(etCircle, CX, CY, CZ, Radius, 0, 0, Settings->DrawColor, Settings->LineType,
                        Settings->CurrentLayer, 0, FillCode);
}

int TOrvexGDI::MakeFilledCircle(double CX, double CY, double CZ, double Radius, int FillCode)
{
    return MakeCircle(FillCode, CX, CY, CZ, Radius);
}

int TOrvexGDI::MakeEllipse(double CX, double CY, double Width, double Height)
{
    return make_element(etEllipse, CX, CY, 0, 0, Width, Height, Settings->DrawColor, Settings->LineType,
                        Settings->CurrentLayer, 0, 1);
}

int TOrvexGDI::MakeFilledRect(double CX, double CY, double Width, double Height, int FillCode)
{
    return make_element(etRectangle, CX, CY, 0, 0, Width, Height, Settings->DrawColor, Settings->LineType,
                        Settings->CurrentLayer, 0, FillCode);
}

int TOrvexGDI::MakeImage(const QImage* Image, double Left, double Top, double Width, double Height)
{
    const int index = make_element(etImage, Left, Top, Width, Height, 0, 0, kNoImageColour, Settings->LineType,
                                   Settings->CurrentLayer, 0, 1);
    if (index >= 0)
        Elements->GetElement(index).SetImage(Image);
    return index;
}

int TOrvexGDI::MakeClipRect(double Left, double Top, double Width, double Height)
{
    return make_element(etClipRect, Left, Top, Width, Height, 0, 0, Settings->DrawColor, Settings->LineType,
                        Settings->CurrentLayer, 0, 1);
}

int TOrvexGDI::MakePointX(const TDPoint& Point) { return MakePoint(Point.X, Point.Y, Point.Z); }

int TOrvexGDI::MakeLineX(const TDLine& Line)
{
    return MakeLine(Line.P1.X, Line.P1.Y, Line.P1.Z, Line.P2.X, Line.P2.Y, Line.P2.Z);
}

int TOrvexGDI::MakeArcX(const TDArc& Arc)
{
    return MakeArc(Settings->DefaultArcView, Arc.Center.X, Arc.Center.Y, Arc.Center.Z, Arc.Radius, Arc.StartAngle,
                   Arc.EndAngle);
}

// ---------------------------------------------------------------- direct drawing

namespace {
// Runs a drawing step on the picture with the projection of the last paint pass.
template <typename Step>
void paint_once(QPainter* graphics, TSettings& settings, Step step)
{
    if (graphics == nullptr || !graphics->isActive())
        return;
    paint_pass(*graphics, settings, step);
}
} // namespace

void TOrvexGDI::DrawPoint(double X, double Y, double Z)
{
    AllocateCanvas();
    paint_once(Graphics, *Settings, [&](ElementPainter& p) { p.draw_point(X, Y, Z, Settings->DrawColor); });
    update();
}

void TOrvexGDI::DrawLine(double X1, double Y1, double Z1, double X2, double Y2, double Z2)
{
    AllocateCanvas();
    paint_once(Graphics, *Settings, [&](ElementPainter& p) {
        p.draw_line(X1, Y1, Z1, X2, Y2, Z2, Settings->DrawColor, Settings->LineType);
    });
    update();
}

void TOrvexGDI::DrawArc(int ArcView, double CX, double CY, double CZ, double Radius, double StartAngle, double EndAngle)
{
    AllocateCanvas();
    paint_once(Graphics, *Settings, [&](ElementPainter& p) {
        p.draw_arc(CX, CY, CZ, Radius, StartAngle, EndAngle, Settings->DrawColor, Settings->LineType, ArcView);
    });
    update();
}

void TOrvexGDI::DrawCircle(double CX, double CY, double CZ, double Radius, bool Filled)
{
    AllocateCanvas();
    paint_once(Graphics, *Settings, [&](ElementPainter& p) {
        p.draw_circle(CX, CY, CZ, Radius, Settings->DrawColor, Settings->LineType, Filled ? 100 : 1);
    });
    update();
}

void TOrvexGDI::DrawEllipse(double CX, double CY, double Width, double Height)
{
    AllocateCanvas();
    paint_once(Graphics, *Settings, [&](ElementPainter& p) {
        p.draw_ellipse(CX, CY, Width, Height, Settings->DrawColor, Settings->LineType);
    });
    update();
}

void TOrvexGDI::DrawPointX(const TDPoint& Point) { DrawPoint(Point.X, Point.Y, Point.Z); }

void TOrvexGDI::DrawLineX(const TDLine& Line)
{
    DrawLine(Line.P1.X, Line.P1.Y, Line.P1.Z, Line.P2.X, Line.P2.Y, Line.P2.Z);
}

void TOrvexGDI::DrawArcX(const TDArc& Arc)
{
    DrawArc(1, Arc.Center.X, Arc.Center.Y, Arc.Center.Z, Arc.Radius, Arc.StartAngle, Arc.EndAngle);
}

void TOrvexGDI::DrawElement(int Index)
{
    if (Index < 0 || Index >= Elements->Count())
        return;
    AllocateCanvas();
    const TElement& e = Elements->GetElement(Index);
    paint_once(Graphics, *Settings, [&](ElementPainter& p) { p.draw_element(e); });
}

void TOrvexGDI::Clear()
{
    AllocateCanvas();
    if (Graphics->isActive())
        clear_screen(*Graphics, GetPictureSize().width(), GetPictureSize().height());
}

void TOrvexGDI::DrawAxis()
{
    AllocateCanvas();
    paint_once(Graphics, *Settings, [&](ElementPainter& p) { p.draw_axis(); });
}

void TOrvexGDI::ClearElements() { Elements->Clear(); }

} // namespace orvex
