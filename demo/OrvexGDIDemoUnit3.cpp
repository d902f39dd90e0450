#include "OrvexGDIDemoUnit3.h"

namespace orvex::demo {

namespace {
constexpr int kEditLeft = 68;
constexpr int kEditWidth = 57;
} // namespace

TForm3::TForm3(TOrvexGDI* Target, QWidget* Parent)
    : TCoordinateDialog(Target, Parent, "Form3", QStringLiteral("Draw Line"),
                        {
                            {QStringLiteral("Start X:"), {28, 20}, kEditLeft, 16, kEditWidth},
                            {QStringLiteral("Start Y:"), {28, 48}, kEditLeft, 44, kEditWidth},
                            {QStringLiteral("Start Z:"), {28, 76}, kEditLeft, 72, kEditWidth},
                            {QStringLiteral("End X:"), {32, 104}, kEditLeft, 100, kEditWidth},
                            {QStringLiteral("End Y:"), {32, 132}, kEditLeft, 128, kEditWidth},
                            {QStringLiteral("End Z:"), {32, 160}, kEditLeft, 156, kEditWidth},
                        },
                        {{321, 194}, {156, 32}, {156, 56}, {180, 108}, {180, 148}})
{
}

void TForm3::DrawFigure(const std::vector<double>& v) { Target->DrawLine(v[0], v[1], v[2], v[3], v[4], v[5]); }
void TForm3::MakeFigure(const std::vector<double>& v) { Target->MakeLine(v[0], v[1], v[2], v[3], v[4], v[5]); }

} // namespace orvex::demo
