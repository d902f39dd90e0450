// The drawing control TOrvexGDI, its settings record TSettings, and the
// element list (TElement, TElements from Elements.h).
#pragma once

#include <OrvexGDI/Elements.h>
#include <OrvexGDI/OrvexControl.h>
#include <OrvexGDI/VUvuDAVTypes.h>

#include <QBrush>
#include <QPainter>
#include <QPen>
#include <QString>

#include <functional>
#include <memory>

class QTimer;

namespace orvex {

/// Palette page (Qt Designer widget group) of both components.
inline constexpr const char* kPalettePage = "Quorel";

class TOrvexGDI;

/// The view rotation, computed before every paint.
struct TRotationMatrix {
    double R11 = 0, R12 = 0, R13 = 0;
    double R21 = 0, R22 = 0, R23 = 0;
    double R31 = 0, R32 = 0, R33 = 0;
};

/// A value per view, indexed by the view number 1 (top) .. 4 (isometric).
template <typename T>
using PerView = CheckedArray<T, 1, 4>;

/// All state of one drawing control. Hosts may read and write the fields.
class ORVEXGDI_EXPORT TSettings {
public:
    explicit TSettings(TOrvexGDI* Owner);

    TOrvexGDI* Owner;

    // Drawing attributes and resources
    TColor DrawColor = 0x00FF00;
    int LineType = 0;
    int CurrentLayer = 1;
    TColor BackgroundColor = 0;
    QBrush BackgroundBrush;
    QPen Pen;
    QBrush FillBrush;
    bool AntiAlias = false;
    bool PolylineArcs = false;
    bool ShowAxis = false;
    CheckedArray<bool, 0, 254> LayerVisible;
    CheckedArray<TArcView, 1, 90> ArcViews;
    int DefaultArcView = 1;

    // View and projection
    int ViewNumber = 1;
    double XRotation = -70, YRotation = 0, ZRotation = -20;
    double IsoXRotation = -70, IsoYRotation = 0, IsoZRotation = -20;
    TRotationMatrix RotationMatrix;
    PerView<double> ScaleX, ScaleY;
    PerView<int> OriginX, OriginY;
    PerView<double> CenterX, CenterY;
    PerView<double> HalfSize;
    PerView<double> PrevHalfSize, PrevCenterX, PrevCenterY;
    double ExtentMinX = 0, ExtentMinY = 0, ExtentMinZ = 0;
    double ExtentMaxX = 0, ExtentMaxY = 0, ExtentMaxZ = 0;
    bool Millimetres = false;

    // Mouse and picking
    bool MousePan = true;
    int MouseDownX = 0, MouseDownY = 0;
    bool PanMoved = false, RotateMoved = false;
    bool PickPending = false;
    int PickPointMode = 0;
    double PickAperture = 6.0;
    dpoint PickFarEnd;
    int PickFilterCode = 0;

    // Files, export and printing
    int CadType = 1;
    bool MergeMode = false;
    bool StopReading = false;
    QString DrawingFileName;
    bool CanvasMode = false;
    QPainter* OutputCanvas = nullptr;
    bool Printing = false;
    bool PrintMonochrome = false;
};

/// Opaque ARGB of a framework colour value (red in the low byte).
ORVEXGDI_EXPORT QColor opaque_color(TColor color);

/// The drawing control: owns a drawing, projects it into a view, paints it
/// into its off-screen picture and tells its host about picks, zooms and view
/// changes through callbacks (On...) and the matching signals.
class ORVEXGDI_EXPORT TOrvexGDI : public TGDIPCanvas {
    Q_OBJECT
    Q_PROPERTY(int BackgroundColor READ GetBackgroundColor WRITE SetBackgroundColor)
    Q_PROPERTY(int DrawColor READ GetCurrentColor WRITE SetCurrentColor)
    Q_PROPERTY(orvex::TDView View READ GetView WRITE SetView)
    Q_PROPERTY(int LineType READ GetLineType WRITE SetLineType)
    Q_PROPERTY(orvex::TDFilter PickFilter READ GetPickFilter WRITE SetPickFilter)
    Q_PROPERTY(int CurrentLayer READ GetCurrentLayer WRITE SetCurrentLayer)
    Q_PROPERTY(int CadType READ GetCadType WRITE SetCadType)
    Q_PROPERTY(orvex::TDUnits Units READ GetUnits WRITE SetUnits)
    Q_PROPERTY(bool MousePan READ GetMousePan WRITE SetMousePan)
    Q_PROPERTY(bool AntiAlias READ GetAntiAlias WRITE SetAntiAlias)
    Q_PROPERTY(QString Version READ GetVersion WRITE SetVersion)

    std::unique_ptr<TElements> elements_;
    std::unique_ptr<TSettings> settings_;

public:
    using TOnPickEvent = std::function<void(QObject* Sender, int ElementNumber, TDPoint NearEnd, TDPoint FarEnd,
                                            TDPoint Mid, TDPoint Closest)>;
    using TOnZoomEvent = std::function<void(QObject* Sender, double Size, double CenterX, double CenterY)>;
    using TOnChangeViewEvent = std::function<void(QObject* Sender, TDView NewView)>;

    explicit TOrvexGDI(QWidget* parent = nullptr);
    ~TOrvexGDI() override;

    // ---- state and properties — control.cpp
    /// The control's settings and elements; both live as long as the control.
    TSettings* const Settings;
    TElements* const Elements;

    TOnPickEvent OnPick;
    TOnZoomEvent OnZoom;
    TOnChangeViewEvent OnChangeView;

    TColor GetBackgroundColor() const { return Settings->BackgroundColor; }
    /// ERangeError for a negative (system) colour; nothing is stored then.
    void SetBackgroundColor(TColor Value);
    TColor GetCurrentColor() const { return Settings->DrawColor; }
    void SetCurrentColor(TColor Value) { Settings->DrawColor = Value; }
    int GetLineType() const { return Settings->LineType; }
    void SetLineType(int Value);
    TDFilter GetPickFilter() const;
    void SetPickFilter(TDFilter Value);
    int GetCurrentLayer() const { return Settings->CurrentLayer; }
    void SetCurrentLayer(int Value) { Settings->CurrentLayer = Value; }
    int GetCadType() const { return Settings->CadType; }
    /// A value outside 1..3 is stored as 1.
    void SetCadType(int Value);
    TDUnits GetUnits() const { return Settings->Millimetres ? uMM : uINCH; }
    void SetUnits(TDUnits Value) { Settings->Millimetres = (Value == uMM); }
    bool GetMousePan() const { return Settings->MousePan; }
    void SetMousePan(bool Value);
    bool GetAntiAlias() const { return Settings->AntiAlias; }
    void SetAntiAlias(bool Value);
    QString GetVersion() const { return QStringLiteral("2.1"); }
    void SetVersion(const QString&) {}

    bool GetShowAxis() const { return Settings->ShowAxis; }
    void SetShowAxis(bool Value) { Settings->ShowAxis = Value; }
    bool GetPrintMonochrome() const { return Settings->PrintMonochrome; }
    void SetPrintMonochrome(bool Value) { Settings->PrintMonochrome = Value; }
    /// ERangeError outside 0..254.
    bool GetVisibleLayer(int Layer) const { return Settings->LayerVisible[Layer]; }
    void SetVisibleLayer(int Layer, bool Visible) { Settings->LayerVisible[Layer] = Visible; }
    double GetXRotation() const { return Settings->XRotation; }
    double GetYRotation() const { return Settings->YRotation; }
    double GetZRotation() const { return Settings->ZRotation; }
    /// Store the angle and fire OnChangeView; no repaint.
    void SetXRotation(double Value);
    void SetYRotation(double Value);
    void SetZRotation(double Value);
    /// Drawing always replaces pixels; setting a pen mode is ignored.
    QPainter::CompositionMode GetDrawMode() const { return QPainter::CompositionMode_SourceOver; }
    void SetDrawMode(QPainter::CompositionMode) {}

    // ---- views — view.cpp
    TDView GetView() const;
    /// Selects a standard view (restoring or resetting the isometric angles),
    /// fires OnChangeView and redraws.
    void SetView(TDView Value);
    /// Shows the drawing freely rotated by these angles (view number 4).
    void RotateView(double X, double Y, double Z);
    /// Stores a drawing plane in entry Index (1..90) and marks it defined.
    void SetArcView(int Index, const TDView3D& View);
    /// Entry Index (1..90) with View set to Index.
    TDView3D GetArcView(int Index) const;
    /// Pixel of (X, Y) in the current view's flat mapping (Z is not used).
    QPoint CoordToPixel(double X, double Y, double Z) const;
    /// Model point of a pixel in the current view.
    TDPoint PixelToCoord(int X, int Y) const;
    /// Recomputes the extents from every live element on a visible layer.
    void SetExtents() { get_max_min(); }
    void get_max_min();
    /// The extents reset of a load (max -100, min 100); the elements stay.
    void reset_extents();
    /// The zoom-state scale computation for the control's size.
    void set_scale(double Mode);

    // ---- rendering — render.cpp
    /// Paints the whole drawing into the off-screen picture and invalidates the window.
    void Redraw();
    /// The paint pass on any painter of the given size.
    void redraw2(QPainter& Graphics, int Width, int Height);
    void clear_screen(QPainter& Graphics, int Width, int Height);
    /// The element loop on any painter (see ElementPainter for the modes).
    void plot_elements(QPainter& Graphics, int View, int Mode);

    // ---- drawing interface — drawing.cpp
    /// The element factory: validates the coordinates, clamps layer and view,
    /// appends the element and widens the extents. Returns the new index, or
    /// -1 when the coordinates are rejected (nothing is appended then). A
    /// highlight outside 0..255 raises ERangeError before anything is appended.
    int make_element(int Etype, double c1, double c2, double c3, double c4, double c5, double c6, TColor Colour,
                     int LineType, int Layer, int Highlight, int View);
    int MakePoint(double X, double Y, double Z);
    int MakeLine(double X1, double Y1, double Z1, double X2, double Y2, double Z2);
    int MakeArc(int ArcView, double CX, double CY, double CZ, double Radius, double StartAngle, double EndAngle);
    int MakeCircle(int FillCode, double CX, double CY, double CZ, double Radius);
    int MakeFilledCircle(double CX, double CY, double CZ, double Radius, int FillCode);
    int MakeEllipse(double CX, double CY, double Width, double Height);
    int MakeFilledRect(double CX, double CY, double Width, double Height, int FillCode);
    /// The host keeps Image alive as long as the element exists.
    int MakeImage(const QImage* Image, double Left, double Top, double Width, double Height);
    int MakeClipRect(double Left, double Top, double Width, double Height);
    int MakePointX(const TDPoint& Point);
    int MakeLineX(const TDLine& Line);
    int MakeArcX(const TDArc& Arc);

    // Figures drawn once into the picture in DrawColor and LineType; nothing is added.
    void DrawPoint(double X, double Y, double Z);
    void DrawLine(double X1, double Y1, double Z1, double X2, double Y2, double Z2);
    void DrawArc(int ArcView, double CX, double CY, double CZ, double Radius, double StartAngle, double EndAngle);
    void DrawCircle(double CX, double CY, double CZ, double Radius, bool Filled);
    void DrawEllipse(double CX, double CY, double Width, double Height);
    void DrawPointX(const TDPoint& Point);
    void DrawLineX(const TDLine& Line);
    void DrawArcX(const TDArc& Arc);
    /// Draws element Index (0..Count-1) into the picture without invalidating the window.
    void DrawElement(int Index);
    /// Fills the picture with the background; the elements stay.
    void Clear();
    /// Draws the axis symbol into the picture.
    void DrawAxis();
    /// Empties the element list; extents, zoom and picture stay.
    void ClearElements();
    int GetLastElement() const { return Elements->Count() - 1; }
    TElement& GetElement(int Index) const { return Elements->GetElement(Index); }
    void SetElement(int Index, const TElement& Value) { Elements->SetElement(Index, Value); }
    /// Replaces the drawing with copies of Source's elements.
    void SetElements(const TElements& Source) { Elements->Assign(Source); }

    // ---- drawing files — files.cpp
    /// Replaces the drawing with the file's contents (format by CadType).
    void LoadFromFile(const QString& FileName);
    /// Appends the file's elements to the drawing.
    void MergeFile(const QString& FileName);
    /// Writes the drawing in the format chosen by CadType.
    void SaveToFile(const QString& FileName);
    int make_cad(const QString& FileName);
    bool save_cad(const QString& FileName);

signals:
    void picked(int ElementNumber, orvex::TDPoint NearEnd, orvex::TDPoint FarEnd, orvex::TDPoint Mid,
                orvex::TDPoint Closest);
    void zoomed(double Size, double CenterX, double CenterY);
    void viewChanged(orvex::TDView NewView);

protected:
    void Paint(QPainter& Graphics) override;

    /// Fires OnChangeView and viewChanged with the current view.
    void set_onchangeview();
    void fire_zoom(double Size, double CenterX, double CenterY);
    void fire_pick(int ElementNumber, const TDPoint& NearEnd, const TDPoint& FarEnd, const TDPoint& Mid,
                   const TDPoint& Closest);

private:
    void waittimer();

    QTimer* startupTimer_ = nullptr;
};

} // namespace orvex
