// The Draw menu's dialog "Draw Arc": centre, radius, start and end angle of an arc
// in the top view's drawing plane.
#pragma once

#include "CoordinateDialog.h"

namespace orvex::demo {

class TForm4 : public TCoordinateDialog {
public:
    /// The dialog draws on Target, the main window's drawing control.
    explicit TForm4(TOrvexGDI* Target, QWidget* Parent = nullptr);

protected:
    void DrawFigure(const std::vector<double>& Values) override;
    void MakeFigure(const std::vector<double>& Values) override;
};

} // namespace orvex::demo
