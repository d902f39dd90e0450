// The Draw menu's dialog "Draw Line": the start and end of a line.
#pragma once

#include "CoordinateDialog.h"

namespace orvex::demo {

class TForm3 : public TCoordinateDialog {
public:
    /// The dialog draws on Target, the main window's drawing control.
    explicit TForm3(TOrvexGDI* Target, QWidget* Parent = nullptr);

protected:
    void DrawFigure(const std::vector<double>& Values) override;
    void MakeFigure(const std::vector<double>& Values) override;
};

} // namespace orvex::demo
