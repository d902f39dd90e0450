// Construction, the start-up timer, the published properties and the simple
// state accessors of the drawing control.
#include "common/codes.h"
#include "control/control_p.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QTimer>

#include <string>

namespace orvex {

QRgb opaque_argb(TColor color)
{
    const auto c = static_cast<std::uint32_t>(color);
    return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

QColor opaque_color(TColor color) { return QColor::fromRgba(opaque_argb(color)); }

TSettings::TSettings(TOrvexGDI* owner) : Owner(owner)
{
    BackgroundBrush = QBrush(opaque_color(BackgroundColor));
    Pen = QPen(opaque_color(0x008000), 1.0);
    Pen.setCosmetic(true);
    FillBrush = QBrush(opaque_color(0xFFFF00));
}

TOrvexGDI::TOrvexGDI(QWidget* parent)
    : TGDIPCanvas(parent), elements_(std::make_unique<TElements>(this)), settings_(std::make_unique<TSettings>(this)),
      Settings(settings_.get()), Elements(elements_.get()), d_(std::make_unique<Impl>())
{
    // Every window paint covers the whole control with its picture.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button held reach the host's mouse-move event too.
    setMouseTracking(true);

    // The first picture is drawn once, a second after creation. The timer is
    // a child: destroying the control earlier destroys it unfired.
    d_->startupTimer = new QTimer(this);
    d_->startupTimer->setObjectName(QStringLiteral("startupTimer"));
    d_->startupTimer->setSingleShot(true);
    d_->startupTimer->setInterval(1000);
    connect(d_->startupTimer, &QTimer::timeout, this, &TOrvexGDI::waittimer);
    d_->startupTimer->start();
}

TOrvexGDI::~TOrvexGDI() = default;

void TOrvexGDI::waittimer()
{
    if (d_->startupTimer != nullptr) {
        d_->startupTimer->stop();
        d_->startupTimer->deleteLater();
        d_->startupTimer = nullptr;
    }
    Redraw();
}

void TOrvexGDI::SetBackgroundColor(TColor Value)
{
    if (Value < 0)
        throw ERangeError("background colour " + std::to_string(Value) +
                          " is a system colour; give an explicit colour");
    // Hosts may write the settings field directly: the brush tells what is shown.
    if (Value == Settings->BackgroundColor && Settings->BackgroundBrush.color() == opaque_color(Value))
        return;
    Settings->BackgroundColor = Value;
    Settings->BackgroundBrush.setColor(opaque_color(Value));
    Redraw();
}

void TOrvexGDI::SetLineType(int Value)
{
    if (Value == Settings->LineType)
        return;
    Settings->LineType = Value;
    Redraw();
}

TDFilter TOrvexGDI::GetPickFilter() const
{
    for (int filter = fAll; filter <= fLineArc; ++filter)
        if (codes::kPickFilterCodes[filter] == Settings->PickFilterCode)
            return static_cast<TDFilter>(filter);
    return fAll;
}

void TOrvexGDI::SetPickFilter(TDFilter Value)
{
    Settings->PickFilterCode = Value <= fLineArc ? codes::kPickFilterCodes[Value] : codes::kPickAll;
}

void TOrvexGDI::SetCadType(int Value) { Settings->CadType = (Value >= 1 && Value <= 3) ? Value : 1; }

void TOrvexGDI::SetMousePan(bool Value)
{
    if (Value == Settings->MousePan)
        return;
    Settings->MousePan = Value;
    Redraw();
}

void TOrvexGDI::SetAntiAlias(bool Value)
{
    if (Value == Settings->AntiAlias)
        return;
    Settings->AntiAlias = Value;
    if (Graphics != nullptr && Graphics->isActive())
        Graphics->setRenderHint(QPainter::Antialiasing, Value);
    Redraw();
}

void TOrvexGDI::SetXRotation(double Value)
{
    if (Value == Settings->XRotation)
        return;
    Settings->XRotation = Value;
    set_onchangeview();
}

void TOrvexGDI::SetYRotation(double Value)
{
    if (Value == Settings->YRotation)
        return;
    Settings->YRotation = Value;
    set_onchangeview();
}

void TOrvexGDI::SetZRotation(double Value)
{
    if (Value == Settings->ZRotation)
        return;
    Settings->ZRotation = Value;
    set_onchangeview();
}

void TOrvexGDI::set_onchangeview()
{
    const TDView view = GetView();
    if (OnChangeView)
        OnChangeView(this, view);
    emit viewChanged(view);
}

void TOrvexGDI::fire_zoom(double Size, double CenterX, double CenterY)
{
    if (OnZoom)
        OnZoom(this, Size, CenterX, CenterY);
    emit zoomed(Size, CenterX, CenterY);
}

void TOrvexGDI::fire_pick(int ElementNumber, const TDPoint& NearEnd, const TDPoint& FarEnd, const TDPoint& Mid,
                          const TDPoint& Closest)
{
    if (OnPick)
        OnPick(this, ElementNumber, NearEnd, FarEnd, Mid, Closest);
    emit picked(ElementNumber, NearEnd, FarEnd, Mid, Closest);
}

} // namespace orvex
