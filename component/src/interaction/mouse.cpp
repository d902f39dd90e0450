// The control's own handling of mouse press, move and release: pan and
// rotate drags with their preview, the full redraw when a drag ends, and the
// armed pick of a release. The host's mouse events follow, with the same
// arguments.
#include "control/control_p.h"
#include "view/view_math.h"

#include <OrvexGDI/Ops.h>
#include <OrvexGDI/QOrvexGDI.h>

#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>

#include <cmath>
#include <exception>

namespace orvex {

TShiftState shift_state(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons)
{
    TShiftState state;
    if (Modifiers & Qt::ShiftModifier)
        state |= ssShift;
    if (Modifiers & Qt::AltModifier)
        state |= ssAlt;
    if (Modifiers & Qt::ControlModifier)
        state |= ssCtrl;
    if (Buttons & Qt::LeftButton)
        state |= ssLeft;
    if (Buttons & Qt::RightButton)
        state |= ssRight;
    if (Buttons & Qt::MiddleButton)
        state |= ssMiddle;
    return state;
}

namespace {
// Degrees of view rotation per pixel dragged.
constexpr double kPixelsPerDegree = 8;

// Runs one mouse handler. Errors cannot travel through Qt's event loop: a
// range error (a pan far beyond 32-bit pixels) or a failing host handler ends
// the handler at that step and is dropped there; the state changed before
// it stays.
template <typename Handler>
void guarded(Handler handler)
{
    try {
        handler();
    } catch (const std::exception&) {
    }
}
} // namespace

// ---------------------------------------------------------------- the control's handling

void TOrvexGDI::MouseDown(Qt::MouseButton Button, TShiftState Shift, int X, int Y)
{
    TSettings& s = *Settings;
    s.PanMoved = false;
    s.MouseDownX = X;
    s.MouseDownY = Y;
    fire_mouse_down(Button, Shift, X, Y);
}

void TOrvexGDI::MouseMove(TShiftState Shift, int X, int Y)
{
    TSettings& s = *Settings;
    const int v = s.ViewNumber;
    // Drags work in increments from the previous event.
    const double dx = static_cast<double>(s.MouseDownX) - X;
    const double dy = static_cast<double>(s.MouseDownY) - Y;

    // Only these exact sets drag: an extra key or button is no drag.
    const bool panDrag = Shift == TShiftState(ssMiddle) || Shift == (ssCtrl | ssLeft);
    const bool rotateDrag = Shift == (ssAlt | ssLeft);
    if (panDrag && s.MousePan) {
        // The picture follows the mouse.
        double du = 0, dw = 0;
        view::Viewport::current(s).pixel_shift(dx, dy, du, dw);
        view::pan(s, v, width(), height(), du, dw);
        s.MouseDownX = X;
        s.MouseDownY = Y;
        s.PanMoved = true;
        // A live pan moves the picture and draws what it uncovers; a pan
        // that cannot be shown so is drawn whole.
        if (!s.LivePan)
            drag_preview();
        else if (!live_pan_frame())
            Redraw();
    } else if (rotateDrag) {
        // Moving down turns about X, moving right about Y; Z stays.
        s.RotateMoved = true;
        s.XRotation = Ops::fix_angle(s.XRotation - dy / kPixelsPerDegree);
        s.YRotation = Ops::fix_angle(s.YRotation - dx / kPixelsPerDegree);
        if (v == 4) {
            s.IsoXRotation = s.XRotation;
            s.IsoYRotation = s.YRotation;
            s.IsoZRotation = s.ZRotation;
        }
        s.MouseDownX = X;
        s.MouseDownY = Y;
        if (v != 1) { // the top view ignores the angles
            view::set_coefficiants(s);
            drag_preview();
        }
        set_onchangeview();
    } else {
        s.PanMoved = false;
    }
    fire_mouse_move(Shift, X, Y);
}

void TOrvexGDI::MouseUp(Qt::MouseButton Button, TShiftState Shift, int X, int Y)
{
    TSettings& s = *Settings;
    if (s.PickPending) {
        s.PickPending = false;
        int index = 0;
        dpoint nearEnd, farEnd, mid, closest;
        if (pick2(static_cast<std::uint8_t>(s.PickFilterCode), X, Y, index, nearEnd, farEnd, mid, closest))
            set_onpick(index, to_TDPoint(nearEnd), to_TDPoint(farEnd), to_TDPoint(mid), to_TDPoint(closest));
        update();
    } else if (s.RotateMoved || s.PanMoved) {
        // The drag showed a preview; now the whole drawing. A live pan has
        // shown it all along.
        const bool livePan = s.PanMoved && !s.RotateMoved && s.LivePan;
        s.RotateMoved = false;
        s.PanMoved = false;
        if (!livePan || !live_pan_frame())
            Redraw();
    }
    fire_mouse_up(Button, Shift, X, Y);
}

// ---------------------------------------------------------------- the host's events

void TOrvexGDI::fire_mouse_down(Qt::MouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
    emit mouseDown(Button, Shift, X, Y);
}

void TOrvexGDI::fire_mouse_move(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
    emit mouseMove(Shift, X, Y);
}

void TOrvexGDI::fire_mouse_up(Qt::MouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
    emit mouseUp(Button, Shift, X, Y);
}

// ---------------------------------------------------------------- Qt's mouse events

void TOrvexGDI::mousePressEvent(QMouseEvent* event)
{
    event->accept(); // keeps the following moves and the release on this control
    const QPoint p = event->position().toPoint();
    const TShiftState shift = shift_state(event->modifiers(), event->buttons());
    guarded([&] { MouseDown(event->button(), shift, p.x(), p.y()); });
}

void TOrvexGDI::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint p = event->position().toPoint();
    const TShiftState shift = shift_state(event->modifiers(), event->buttons());
    guarded([&] { MouseMove(shift, p.x(), p.y()); });
}

void TOrvexGDI::wheel_zoom(int Notches, int X, int Y)
{
    // Each notch shows a quarter less (closer) or a quarter more.
    constexpr double kNotchFactor = 1.25;
    TSettings& s = *Settings;
    if (s.RenderThreads == 1) { // one pass: every notch is drawn and told at once
        view::zoom_about(s, s.ViewNumber, width(), height(), std::pow(kNotchFactor, -Notches), X, Y);
        Redraw();
        set_onzoom();
        return;
    }
    // On band threads a turn of several notches shows each one at once as
    // the picture scaled, and draws and tells the zoom it settles on.
    const view::Viewport before = view::Viewport::current(s);
    view::zoom_about(s, s.ViewNumber, width(), height(), std::pow(kNotchFactor, -Notches), X, Y);
    show_scaled(before, view::Viewport::current(s));
    if (d_->wheelTimer == nullptr) {
        // Notches closer together than this make one zoom.
        constexpr int kSettleMilliseconds = 60;
        d_->wheelTimer = new QTimer(this);
        d_->wheelTimer->setObjectName(QStringLiteral("wheelZoomTimer"));
        d_->wheelTimer->setSingleShot(true);
        d_->wheelTimer->setInterval(kSettleMilliseconds);
        connect(d_->wheelTimer, &QTimer::timeout, this, [this] {
            guarded([&] {
                Redraw();
                set_onzoom();
            });
        });
    }
    d_->wheelTimer->start(); // a notch within the wait starts it again
}

void TOrvexGDI::show_scaled(const view::Viewport& Before, const view::Viewport& After)
{
    AllocateCanvas();
    d_->shown.reset();
    if (Graphics->isActive() && Graphics->device() != nullptr && Graphics->device()->devType() == QInternal::Image &&
        Before.ScaleX != 0 && Before.ScaleY != 0) {
        // A pixel of the old view's plane point goes where the new view shows it.
        const double kx = After.ScaleX / Before.ScaleX, ky = After.ScaleY / Before.ScaleY;
        const QImage old = static_cast<QImage*>(Graphics->device())->copy();
        const QSize size = GetPictureSize();
        Graphics->save();
        Graphics->setClipping(false);
        Graphics->fillRect(QRect(QPoint(0, 0), size), Settings->BackgroundBrush);
        Graphics->setTransform(
            QTransform(kx, 0, 0, ky, After.OriginX - Before.OriginX * kx, After.OriginY - Before.OriginY * ky));
        Graphics->drawImage(QRectF(QPointF(0, 0), size), old);
        Graphics->restore();
    }
    update();
}

void TOrvexGDI::wheelEvent(QWheelEvent* event)
{
    if (!Settings->WheelZoom) {
        event->ignore(); // the host or a scroll area may use it
        return;
    }
    event->accept();
    // A notch is 120 eighths of a degree; finer wheels add up to whole notches.
    d_->wheelTurn += event->angleDelta().y();
    const int notches = d_->wheelTurn / 120;
    d_->wheelTurn -= notches * 120;
    if (notches == 0)
        return;
    const QPoint p = event->position().toPoint();
    guarded([&] { wheel_zoom(notches, p.x(), p.y()); });
}

void TOrvexGDI::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint p = event->position().toPoint();
    const TShiftState shift = shift_state(event->modifiers(), event->buttons());
    guarded([&] { MouseUp(event->button(), shift, p.x(), p.y()); });
}

} // namespace orvex
