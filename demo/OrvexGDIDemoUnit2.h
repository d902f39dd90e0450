// The Draw menu's dialog "Draw Point": X, Y and Z of a point.
#pragma once

#include "CoordinateDialog.h"

namespace orvex::demo {

class TForm2 : public TCoordinateDialog {
public:
    /// The dialog draws on Target, the main window's drawing control.
    explicit TForm2(TOrvexGDI* Target, QWidget* Parent = nullptr);

protected:
    void DrawFigure(const std::vector<double>& Values) override;
    void MakeFigure(const std::vector<double>& Values) override;
};

} // namespace orvex::demo
