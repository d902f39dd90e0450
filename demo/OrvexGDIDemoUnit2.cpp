#include "OrvexGDIDemoUnit2.h"

namespace orvex::demo {

namespace {
constexpr int kEditWidth = 65;
} // namespace

TForm2::TForm2(TOrvexGDI* Target, QWidget* Parent)
    : TCoordinateDialog(Target, Parent, "Form2", QStringLiteral("Draw Point"),
                        {
                            {QStringLiteral("X:"), {32, 24}, 44, 20, kEditWidth},
                            {QStringLiteral("Y:"), {32, 52}, 44, 48, kEditWidth},
                            {QStringLiteral("Z:"), {32, 80}, 44, 76, kEditWidth},
                        },
                        {{304, 159}, {136, 28}, {136, 52}, {68, 120}, {172, 120}})
{
}

void TForm2::DrawFigure(const std::vector<double>& v) { Target->DrawPoint(v[0], v[1], v[2]); }
void TForm2::MakeFigure(const std::vector<double>& v) { Target->MakePoint(v[0], v[1], v[2]); }

} // namespace orvex::demo
