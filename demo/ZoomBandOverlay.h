// The outline of a zoom window being dragged, drawn on the main window's own
// surface above its controls: a dotted rectangle that inverts the pixels
// under it, so it shows on every colour and leaves the controls' pictures as
// they are.
#pragma once

#include <QRect>
#include <QWidget>

namespace orvex::demo {

class TZoomBandOverlay : public QWidget {
public:
    /// Covers Surface (the window's client area) and follows its size; mouse
    /// events pass through to the controls below.
    explicit TZoomBandOverlay(QWidget* Surface);

    /// Shows the outline between the corners (X1, Y1) and (X2, Y2), in the
    /// surface's pixels; the previous outline disappears.
    void ShowOutline(int X1, int Y1, int X2, int Y2);
    /// Removes the outline.
    void HideOutline();

    bool OutlineShown() const { return shown_; }
    /// The corners of the outline in the order they were given.
    QRect Outline() const { return outline_; }

protected:
    void paintEvent(QPaintEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    QRect outline_;
    bool shown_ = false;
};

} // namespace orvex::demo
