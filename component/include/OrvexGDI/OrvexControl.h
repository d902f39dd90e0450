// The paint surface on which the drawing control paints: an off-screen
// picture (a QImage with a QPainter kept open on it, the "graphics object")
// that every window paint copies to the screen in one image copy.
//
// The framework properties and events of the surface are QWidget's own:
//   Align / Anchors                 -> the host's QLayout / geometry
//   DragKind, DragCursor, DragMode  -> QWidget drag and drop (setAcceptDrops, QDrag)
//   MouseCapture                    -> Qt's implicit mouse grab while a button is held
//   ParentShowHint / PopupMenu      -> toolTip / contextMenuPolicy, customContextMenuRequested
//   OnContextPopup                  -> contextMenuEvent / customContextMenuRequested
//   OnClick, OnDblClick             -> mouseReleaseEvent / mouseDoubleClickEvent
//   OnMouseDown/Move/Up             -> the control's own callbacks and signals (TOrvexGDI)
//   OnMouseWheel(Down/Up)           -> wheelEvent
//   OnResize                        -> resizeEvent
//   OnDragDrop/Over, OnStart/EndDrag, OnStart/EndDock -> dragEnterEvent, dropEvent, ...
//   the framework Color             -> the widget palette's window colour
//   double buffering                -> Qt's backing store (always on)
//   erase-background suppressed     -> Qt::WA_NoSystemBackground
#pragma once

#include <OrvexGDI/orvexgdi_export.h>

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class QPainter;

namespace orvex {

/// A widget that keeps an off-screen picture of its own size and shows it.
class ORVEXGDI_EXPORT TGDIPWinControl : public QWidget {
    Q_OBJECT

public:
    /// A control with its first, empty picture, never erased before a paint.
    explicit TGDIPWinControl(QWidget* parent = nullptr);
    /// Frees the picture and its graphics object.
    ~TGDIPWinControl() override;

    /// The graphics object drawing into the picture; null before the first
    /// picture. It is inactive while the control has no area.
    QPainter* GetCanvas() const { return Graphics; }
    /// The off-screen picture: the control's width and height in device
    /// pixels (devicePixelRatioF times the logical size, so a scaled screen
    /// shows it crisp), with that ratio set on the image.
    const QImage* GetBitmap() const { return Bitmap.get(); }
    /// The picture's size in logical pixels, the unit of every coordinate
    /// the control takes or gives; empty before the first picture.
    QSize GetPictureSize() const;

    /// Whether the next picture gets an alpha channel.
    bool GetTransparent() const { return Transparent; }
    /// Chooses the pixel format of the next picture (32-bit with alpha when
    /// true, opaque otherwise); the current picture keeps its format.
    void SetTransparent(bool Value) { Transparent = Value; }

    /// Fills the client rectangle on Graphics with a large checkerboard of the
    /// two ARGB colours. Offered to hosts; the library does not call it.
    void RenderChecked(QPainter& Graphics, std::uint32_t Color1, std::uint32_t Color2) const;

protected:
    /// Makes a new, empty picture when there is none or the size differs.
    virtual void AllocateCanvas();
    virtual void DeAllocateCanvas();
    /// Called at every window paint before the picture is shown.
    virtual void Paint(QPainter& Graphics);

    void paintEvent(QPaintEvent* event) override;

    QPainter* Graphics = nullptr;
    std::unique_ptr<QImage> Bitmap;
    bool Transparent = false;
};

/// The paint surface with an OnPaint event, transparent by default.
class ORVEXGDI_EXPORT TGDIPCanvas : public TGDIPWinControl {
    Q_OBJECT
    Q_PROPERTY(bool Transparent READ GetTransparent WRITE SetTransparent)

public:
    /// The OnPaint handler: receives the off-screen graphics object.
    using TGDIPPaintEvent = std::function<void(QPainter& Canvas)>;

    /// A transparent surface without an OnPaint handler.
    explicit TGDIPCanvas(QWidget* parent = nullptr);

    /// Called with the off-screen graphics object at every window paint.
    TGDIPPaintEvent OnPaint;

public slots:
    /// SetTransparent in the spelling uic-generated code calls.
    void setTransparent(bool Value) { SetTransparent(Value); }

protected:
    void Paint(QPainter& Graphics) override;
};

} // namespace orvex
