#include "OrvexGDIDemoUnit4.h"

namespace orvex::demo {

namespace {
constexpr int kEditLeft = 68;
constexpr int kEditWidth = 57;
// The arcs are drawn and stored in arc view 1, the top view's plane.
constexpr int kTopPlane = 1;
} // namespace

TForm4::TForm4(TOrvexGDI* Target, QWidget* Parent)
    : TCoordinateDialog(Target, Parent, "Form4", QStringLiteral("Draw Arc"),
                        {
                            {QStringLiteral("Center X:"), {20, 20}, kEditLeft, 16, kEditWidth},
                            {QStringLiteral("Center Y:"), {20, 48}, kEditLeft, 44, kEditWidth},
                            {QStringLiteral("Center Z:"), {20, 80}, kEditLeft, 72, kEditWidth},
                            {QStringLiteral("Radius:"), {28, 104}, kEditLeft, 100, kEditWidth},
                            {QStringLiteral("Start Angle:"), {12, 132}, kEditLeft, 128, kEditWidth},
                            {QStringLiteral("End Angle:"), {12, 160}, kEditLeft, 156, kEditWidth},
                        },
                        {{317, 198}, {152, 36}, {152, 68}, {176, 112}, {176, 152}})
{
}

void TForm4::DrawFigure(const std::vector<double>& v)
{
    Target->DrawArc(kTopPlane, v[0], v[1], v[2], v[3], v[4], v[5]);
}

void TForm4::MakeFigure(const std::vector<double>& v)
{
    Target->MakeArc(kTopPlane, v[0], v[1], v[2], v[3], v[4], v[5]);
}

} // namespace orvex::demo
