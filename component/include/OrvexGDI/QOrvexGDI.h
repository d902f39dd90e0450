// The drawing control TOrvexGDI, with its settings record (TSettings from
// Settings.h) and its element list (TElement, TElements from Elements.h).
#pragma once

#include <OrvexGDI/Elements.h>
#include <OrvexGDI/OpsOutput.h>
#include <OrvexGDI/OrvexControl.h>
#include <OrvexGDI/Settings.h>
#include <OrvexGDI/VUvuDAVTypes.h>

#include <QBrush>
#include <QObject>
#include <QPainter>
#include <QPen>
#include <QString>

#include <functional>
#include <memory>

class QMouseEvent;
class QWheelEvent;
class QPrinter;
class QTimer;

namespace orvex {

/// Palette page (Qt Designer widget group) of both components.
inline constexpr const char* kPalettePage = "Quorel";

// The enumerations of the published properties, known to Qt's meta-object
// system so that Designer's property editor and QVariant show them by name.
// They are declared in the Qt-free VUvuDAVTypes.h; moc reads the same lists
// here, and a test checks that names and values agree.
Q_NAMESPACE_EXPORT(ORVEXGDI_EXPORT)
#ifdef Q_MOC_RUN
enum TDView { vTOP, vFRONT, vSIDE, vISO };
enum TDUnits { uINCH, uMM };
enum TDFilter { fAll, fPoints, fLines, fArcs, fPointLine, fPointArc, fLineArc };
enum TImportMode { imBasic, imFull };
#endif
Q_ENUM_NS(TDView)
Q_ENUM_NS(TDUnits)
Q_ENUM_NS(TDFilter)
Q_ENUM_NS(TImportMode)

class TOrvexGDI;
class ElementIndex;
struct ModelBox;
namespace view {
struct Viewport;
}

/// The framework's shift state of a mouse event: which of the keys Shift,
/// Alt and Ctrl and of the left, right and middle mouse buttons are held.
enum TShiftStateFlag : unsigned {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
};
Q_DECLARE_FLAGS(TShiftState, TShiftStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TShiftState)

/// The shift state of Qt's keyboard modifiers and held mouse buttons; other
/// keys (Meta, keypad) and other buttons are not part of it.
ORVEXGDI_EXPORT TShiftState shift_state(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);

/// Opaque ARGB of a framework colour value (red in the low byte).
ORVEXGDI_EXPORT QRgb opaque_argb(TColor color);
/// The same colour as a QColor.
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
    Q_PROPERTY(orvex::TImportMode ImportMode READ GetImportMode WRITE SetImportMode)
    Q_PROPERTY(int IsoLines READ GetIsoLines WRITE SetIsoLines)
    Q_PROPERTY(orvex::TDUnits Units READ GetUnits WRITE SetUnits)
    Q_PROPERTY(bool MousePan READ GetMousePan WRITE SetMousePan)
    Q_PROPERTY(bool WheelZoom READ GetWheelZoom WRITE SetWheelZoom)
    Q_PROPERTY(bool LivePan READ GetLivePan WRITE SetLivePan)
    Q_PROPERTY(int RenderThreads READ GetRenderThreads WRITE SetRenderThreads)
    Q_PROPERTY(bool AntiAlias READ GetAntiAlias WRITE SetAntiAlias)
    Q_PROPERTY(QString Version READ GetVersion WRITE SetVersion)

    std::unique_ptr<TElements> elements_;
    std::unique_ptr<TSettings> settings_;

public:
    using TOnPickEvent = std::function<void(QObject* Sender, int ElementNumber, TDPoint NearEnd, TDPoint FarEnd,
                                            TDPoint Mid, TDPoint Closest)>;
    /// OnZoom: the new visible half size and centre of the current view.
    using TOnZoomEvent = std::function<void(QObject* Sender, double Size, double CenterX, double CenterY)>;
    /// OnChangeView: the view now shown.
    using TOnChangeViewEvent = std::function<void(QObject* Sender, TDView NewView)>;

    /// An empty drawing with default settings; it draws its first picture 1000 ms later.
    explicit TOrvexGDI(QWidget* parent = nullptr);
    /// Frees the elements and settings; a pending start-up timer stops with the control.
    ~TOrvexGDI() override;

    // ---- state and properties — control.cpp
    /// The control's settings and elements; both live as long as the control.
    TSettings* const Settings;
    /// The drawing's elements, owned by the control.
    TElements* const Elements;

    /// Fired when an armed pick finds an element.
    TOnPickEvent OnPick;
    /// Fired by every zoom.
    TOnZoomEvent OnZoom;
    /// Fired when the view or its rotation changes.
    TOnChangeViewEvent OnChangeView;

    /// The picture background colour.
    TColor GetBackgroundColor() const { return Settings->BackgroundColor; }
    /// ERangeError for a negative (system) colour; nothing is stored then.
    void SetBackgroundColor(TColor Value);
    /// The colour given to new elements (the DrawColor property).
    TColor GetCurrentColor() const { return Settings->DrawColor; }
    /// Sets the colour of new elements; no repaint.
    void SetCurrentColor(TColor Value) { Settings->DrawColor = Value; }
    /// The line type given to new elements.
    int GetLineType() const { return Settings->LineType; }
    /// Sets the line type of new elements and redraws.
    void SetLineType(int Value);
    /// Which element kinds a pick may return.
    TDFilter GetPickFilter() const;
    /// Sets the pick filter; no repaint.
    void SetPickFilter(TDFilter Value);
    /// The layer given to new elements.
    int GetCurrentLayer() const { return Settings->CurrentLayer; }
    /// Sets the layer of new elements; the factory clamps it later.
    void SetCurrentLayer(int Value) { Settings->CurrentLayer = Value; }
    /// File format of the file operations: 1 OVX, 2 DXF, 3 IGES.
    int GetCadType() const { return Settings->CadType; }
    /// A value outside 1..3 is stored as 1.
    void SetCadType(int Value);
    /// How much of a DXF or IGES file a load reads.
    TImportMode GetImportMode() const { return Settings->ImportMode; }
    /// A value other than imFull is stored as imBasic.
    void SetImportMode(TImportMode Value) { Settings->ImportMode = Value == imFull ? imFull : imBasic; }
    /// Iso-parameter lines per direction that a full IGES import draws on
    /// each surface besides its boundary (0, the default: boundaries only).
    int GetIsoLines() const { return Settings->IsoLines; }
    /// Values are clamped to 0..10; takes effect at the next load.
    void SetIsoLines(int Value) { Settings->IsoLines = Value < 0 ? 0 : Value > 10 ? 10 : Value; }
    /// The drawing's unit label.
    TDUnits GetUnits() const { return Settings->Millimetres ? uMM : uINCH; }
    /// Sets the unit label; no value changes.
    void SetUnits(TDUnits Value) { Settings->Millimetres = (Value == uMM); }
    /// Whether dragging pans the view.
    bool GetMousePan() const { return Settings->MousePan; }
    /// Switches drag panning and redraws.
    void SetMousePan(bool Value);
    /// Whether each notch of the mouse wheel zooms about the cursor (default off).
    bool GetWheelZoom() const { return Settings->WheelZoom; }
    /// Turns zooming with the mouse wheel on or off.
    void SetWheelZoom(bool Value) { Settings->WheelZoom = Value; }
    /// Whether a pan drag shifts the picture and draws only the uncovered
    /// strips, so every frame shows the whole drawing (default off: the
    /// drag preview of the first 200 elements).
    bool GetLivePan() const { return Settings->LivePan; }
    void SetLivePan(bool Value) { Settings->LivePan = Value; }
    /// Threads the screen picture is drawn on, in as many horizontal bands
    /// (0: one per core; default 1, one pass). The picture is the same.
    int GetRenderThreads() const { return Settings->RenderThreads; }
    void SetRenderThreads(int Value) { Settings->RenderThreads = Value < 0 ? 0 : Value; }
    /// Whether the picture is smoothed.
    bool GetAntiAlias() const { return Settings->AntiAlias; }
    /// Switches smoothing and redraws.
    void SetAntiAlias(bool Value);
    /// Always "2.1".
    QString GetVersion() const { return QStringLiteral("2.1"); }
    /// Ignored: the version cannot be set.
    void SetVersion(const QString&) {}

    /// Whether the axis symbol is drawn after the elements.
    bool GetShowAxis() const { return Settings->ShowAxis; }
    /// Switches the axis symbol; no repaint.
    void SetShowAxis(bool Value) { Settings->ShowAxis = Value; }
    /// Whether printing is in black.
    bool GetPrintMonochrome() const { return Settings->PrintMonochrome; }
    /// Switches black printing; no repaint.
    void SetPrintMonochrome(bool Value) { Settings->PrintMonochrome = Value; }
    /// ERangeError outside 0..254.
    bool GetVisibleLayer(int Layer) const { return Settings->LayerVisible[Layer]; }
    /// Shows or hides a layer (ERangeError outside 0..254); no repaint.
    void SetVisibleLayer(int Layer, bool Visible) { Settings->LayerVisible[Layer] = Visible; }
    /// Rotation about X of views 2 to 4, degrees.
    double GetXRotation() const { return Settings->XRotation; }
    /// Rotation about Y of views 2 to 4, degrees.
    double GetYRotation() const { return Settings->YRotation; }
    /// Rotation about Z of views 2 to 4, degrees.
    double GetZRotation() const { return Settings->ZRotation; }
    /// Store the angle and fire OnChangeView; no repaint.
    void SetXRotation(double Value);
    /// As SetXRotation, about Y.
    void SetYRotation(double Value);
    /// As SetXRotation, about Z.
    void SetZRotation(double Value);
    /// Drawing always replaces pixels; setting a pen mode is ignored.
    QPainter::CompositionMode GetDrawMode() const { return QPainter::CompositionMode_SourceOver; }
    /// Ignored: drawing always replaces pixels.
    void SetDrawMode(QPainter::CompositionMode) {}

    // ---- views — view.cpp
    /// The standard view of the current view number.
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
    /// Recomputes the extents (the work of SetExtents).
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
    /// Fills Width x Height of Graphics with the background.
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
    /// A point element; returns its index, or -1 when rejected.
    int MakePoint(double X, double Y, double Z);
    /// A line element; returns its index, or -1 when rejected.
    int MakeLine(double X1, double Y1, double Z1, double X2, double Y2, double Z2);
    /// An arc in arc view ArcView (centre in plane coordinates); index or -1.
    int MakeArc(int ArcView, double CX, double CY, double CZ, double Radius, double StartAngle, double EndAngle);
    /// A circle with a fill code; index or -1.
    int MakeCircle(int FillCode, double CX, double CY, double CZ, double Radius);
    /// A circle filled by FillCode; index or -1.
    int MakeFilledCircle(double CX, double CY, double CZ, double Radius, int FillCode);
    /// An ellipse in the top plane centred on (CX, CY); index or -1.
    int MakeEllipse(double CX, double CY, double Width, double Height);
    /// A rectangle centred on (CX, CY), filled by FillCode; index or -1.
    int MakeFilledRect(double CX, double CY, double Width, double Height, int FillCode);
    /// The host keeps Image alive as long as the element exists.
    int MakeImage(const QImage* Image, double Left, double Top, double Width, double Height);
    /// A clip rectangle for the elements after it; index or -1.
    int MakeClipRect(double Left, double Top, double Width, double Height);
    /// MakePoint of a point record.
    int MakePointX(const TDPoint& Point);
    /// MakeLine of a line record.
    int MakeLineX(const TDLine& Line);
    /// MakeArc of an arc record in DefaultArcView.
    int MakeArcX(const TDArc& Arc);

    // Figures drawn once into the picture in DrawColor and LineType; nothing is added.
    /// Draws a point mark once into the picture.
    void DrawPoint(double X, double Y, double Z);
    /// Draws a line once into the picture.
    void DrawLine(double X1, double Y1, double Z1, double X2, double Y2, double Z2);
    /// Draws an arc once (arc views -1 to -3 and 1 to 90).
    void DrawArc(int ArcView, double CX, double CY, double CZ, double Radius, double StartAngle, double EndAngle);
    /// Draws a circle once, filled or not.
    void DrawCircle(double CX, double CY, double CZ, double Radius, bool Filled);
    /// Draws an ellipse once.
    void DrawEllipse(double CX, double CY, double Width, double Height);
    /// DrawPoint of a point record.
    void DrawPointX(const TDPoint& Point);
    /// DrawLine of a line record.
    void DrawLineX(const TDLine& Line);
    /// DrawArc of an arc record in arc view 1.
    void DrawArcX(const TDArc& Arc);
    /// Draws element Index (0..Count-1) into the picture without invalidating the window.
    void DrawElement(int Index);
    /// Fills the picture with the background; the elements stay.
    void Clear();
    /// Draws the axis symbol into the picture.
    void DrawAxis();
    /// Empties the element list; extents, zoom and picture stay.
    void ClearElements();
    /// Index of the last element; -1 for an empty drawing.
    int GetLastElement() const { return Elements->Count() - 1; }
    /// Element Index; EListError outside the list.
    TElement& GetElement(int Index) const { return Elements->GetElement(Index); }
    /// Copies Value into element Index; EListError outside the list.
    void SetElement(int Index, const TElement& Value) { Elements->SetElement(Index, Value); }
    /// Replaces the drawing with copies of Source's elements.
    void SetElements(const TElements& Source) { Elements->Assign(Source); }

    // ---- drawing files — files.cpp
    /// Replaces the drawing with the file's contents (format by CadType).
    void LoadFromFile(const QString& FileName);
    /// Appends the file's elements to the drawing.
    void MergeFile(const QString& FileName);
    /// Writes the drawing in the format chosen by CadType. EFileError naming
    /// the file when it was not written (an existing file stays as it was).
    void SaveToFile(const QString& FileName);
    /// Reads the file as LoadFromFile does, or as MergeFile does when
    /// MergeMode is set; MergeMode is clear once the file was read. 0 when
    /// the file cannot be opened.
    int make_cad(const QString& FileName);
    /// What the last successful load or merge read and left out.
    const TLoadReport& LastLoadReport() const { return Settings->LoadReport; }
    /// The file's name of a layer number, as the last full import of a DXF
    /// file mapped it; empty for a layer no such import named. ERangeError
    /// outside 0..254.
    QString LayerName(int Layer) const { return QString::fromStdString(Settings->LayerNames[Layer]); }
    /// False when the file was not written: it cannot be created, is not a
    /// regular file, or the drawing holds a value that would not read back.
    bool save_cad(const QString& FileName);

    // ---- picture files and clipboard — output/export.cpp
    /// Write the off-screen picture, at the control's client size, as a
    /// 24-bit BMP, a GIF (web palette) or a JPEG (quality 90) file. The name is
    /// used unchanged; an existing file is replaced only once the new one is
    /// complete. EFileError naming the file when it cannot be written.
    void SaveBMP(const QString& FileName);
    /// As SaveBMP, as a GIF of the web palette.
    void SaveGIF(const QString& FileName);
    /// As SaveBMP, as a JPEG of quality 90.
    void SaveJPEG(const QString& FileName);
    /// Puts the visible, undeleted elements (and the axis when shown) on the
    /// clipboard as a vector drawing (image/svg+xml) with a PNG of it beside it.
    void WmfToClipboard();
    /// Puts the off-screen picture on the clipboard.
    void BmpToClipboard();
    /// Kind 0: the vector drawing of WmfToClipboard; 2: the picture.
    void clipboard_proc(QPainter* Graphics, int Kind, int Width, int Height);

    // ---- printing — output/print.cpp
    /// The process-wide current printer, which hosts configure (a
    /// QPrintDialog's choice, or setOutputFileName for a PDF file).
    static QPrinter& Printer();
    /// Prints the drawing as vectors in the current view, the control's width
    /// filling the printable width. EPrinterError when there is no printer.
    void PrintCad();
    /// Prints the off-screen picture stretched across the page.
    void PrintBMP();
    /// Prints Elements scaled so Width pixels fill the printable width.
    void print_cad_proc(const TElements& Elements, int Width);
    /// Draws one element on the printer canvas in view View.
    void print_element(int View, const TElement& Element);
    /// Prints the picture behind Graphics, Width x Height, across the page.
    void print_bmp(QPainter* Graphics, int Width, int Height);
    /// The printer pen's colour while printing: black when PrintMonochrome.
    void set_print_color(TColor Colour, int LineType);

    // ---- navigation — navigation.cpp
    /// Fits the drawing's extents into the window (twice), redraws, fires OnZoom.
    void ZoomAll();
    /// Magnifies two times, redraws, fires OnZoom.
    void ZoomDouble();
    /// Shrinks to half, redraws, fires OnZoom.
    void ZoomHalf();
    /// Exchanges the zoom with the previous one, redraws, fires OnZoom.
    void ZoomLast();
    /// Fits the pixel rectangle (corners in any order) into the window,
    /// redraws and fires OnZoom, even when the rectangle is empty.
    void ZoomWindow(int X1, int Y1, int X2, int Y2);
    /// Moves the view centre by (DX, DY) model units and redraws; no event.
    void Pan(double DX, double DY);
    /// Shows (X, Y) at the window centre and redraws; no event.
    void ViewCenter(double X, double Y);
    /// The visible model height, 2 * HalfSize of the current view.
    double GetViewSize() const;
    /// Sets the visible model height (at least 0.08), fires OnChangeView, redraws.
    void SetViewSize(double Size);
    /// X of the model point at the window centre.
    double GetCenterX() const;
    /// Y of the model point at the window centre.
    double GetCenterY() const;
    /// Store the centre coordinate and move the origin with it; no repaint.
    void SetCenterX(double X);
    /// As SetCenterX, for Y.
    void SetCenterY(double Y);
    /// The window fit of ZoomWindow for view View in a Width x Height window;
    /// false, changing nothing, for a rectangle of zero width or height.
    bool graphics_get_scale(int View, int Width, int Height, int X1, int Y1, int X2, int Y2);

    // ---- mouse — mouse.cpp
    /// OnMouseDown and OnMouseUp: button, shift state and client position.
    using TMouseEvent = std::function<void(QObject* Sender, Qt::MouseButton Button, TShiftState Shift, int X, int Y)>;
    /// OnMouseMove: shift state and client position.
    using TMouseMoveEvent = std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)>;
    /// The host's mouse events; they fire after the control's own handling,
    /// with the same arguments (client pixels).
    TMouseEvent OnMouseDown;
    /// Fired after the control's own move handling.
    TMouseMoveEvent OnMouseMove;
    /// Fired after the control's own release handling (and pick).
    TMouseEvent OnMouseUp;

    // ---- picking — pick.cpp
    /// Arms a pick for the next mouse release.
    void Pick();
    /// Arms (true) or cancels (false) the pick of the next mouse release.
    void Pick(bool Flag);
    /// The whole pick at a pixel: the nearest element under the cursor that
    /// passes the filter, with its near end, far end, midpoint and the point
    /// of it closest to the cursor. False when nothing is picked.
    bool pick2(std::uint8_t FilterCode, int X, int Y, int& Index, dpoint& NearEnd, dpoint& FarEnd, dpoint& Mid,
               dpoint& Closest);
    /// The candidate search followed by the near-end step.
    bool main_pick(int X, int Y, dpoint& NearEnd, TElement*& Element, std::uint8_t FilterCode, int& Index);
    /// The candidate search: the nearest hit element, the earliest on a tie.
    bool pick_element(int X, int Y, std::uint8_t FilterCode, TElement*& Element, int& Index);
    /// Hit test of one element at model point (X, Y, Z) in view View.
    bool on_element(int View, double X, double Y, double Z, double Scale, double Aperture, const TElement& Element,
                    double& U, double& V, double& W);
    /// Arc test; on a hit the near end goes out and the far end into PickFarEnd.
    bool on_arc(int View, double X, double Y, double Z, double Scale, double Aperture, const TElement& Element,
                double& NearX, double& NearY, double& NearZ);
    /// The near-end step; false when the element has no characteristic points.
    bool get_endpoint(const TElement& Element, int X, int Y, dpoint& NearEnd);

private:
    struct PickHit;
    /// The candidate search, converting the pixel and testing each element once.
    bool nearest_hit(int X, int Y, std::uint8_t FilterCode, PickHit& Hit);

public:
    // ---- editing — editing.cpp
    /// N = 0: every live element joins the group; 1 <= N < Count: element N
    /// (unless deleted). The new members are drawn at once.
    void AddToGroup(int N);
    /// Every live element leaves the group (highlight 0) and is drawn again.
    void ClearGroup();
    /// Deletes every group member and redraws.
    void DeleteGroup();
    /// Rotated copies of every group member about (PivotU, PivotV) in the
    /// current view's plane, Times copies at Angle, 2 Angle, ...; the copies
    /// join the group; the sources are deleted unless KeepSource. No repaint.
    void RotateGroup(double Angle, double PivotU, double PivotV, int Times, bool KeepSource);
    /// Shifted copies of every group member at (DX, DY, DZ), 2 (DX, DY, DZ),
    /// ...; the copies do not join the group; the sources are deleted unless
    /// KeepSource. Redraws.
    void ShiftGroup(double DX, double DY, double DZ, int Times, bool KeepSource);
    /// One rotated copy of element N (EListError outside the list); the copy joins the group.
    void RotateElement(int N, double Angle, double PivotU, double PivotV);
    /// Subtracts (X, Y, Z) from element N's coordinates (EListError outside the list).
    void ShiftElement(int N, double X, double Y, double Z);
    /// Makes (X, Y, Z) the origin of every live element and redraws.
    void NewOrigin(double X, double Y, double Z);
    /// Deletes or restores element N (0 <= N < Count) and clears its highlight.
    void SetIsDeleted(int N, bool Deleted);
    /// Element N's deleted flag; true for an index outside the list.
    bool GetIsDeleted(int N) const;

public slots:
    // The published setters in the spelling uic gives them ("set" and the
    // property name), so code generated from a .ui file compiles.
    void setBackgroundColor(int Value) { SetBackgroundColor(Value); }      ///< SetBackgroundColor.
    void setDrawColor(int Value) { SetCurrentColor(Value); }               ///< SetCurrentColor.
    void setView(orvex::TDView Value) { SetView(Value); }                  ///< SetView.
    void setLineType(int Value) { SetLineType(Value); }                    ///< SetLineType.
    void setPickFilter(orvex::TDFilter Value) { SetPickFilter(Value); }    ///< SetPickFilter.
    void setCurrentLayer(int Value) { SetCurrentLayer(Value); }            ///< SetCurrentLayer.
    void setCadType(int Value) { SetCadType(Value); }                      ///< SetCadType.
    void setImportMode(orvex::TImportMode Value) { SetImportMode(Value); } ///< SetImportMode.
    void setIsoLines(int Value) { SetIsoLines(Value); }                    ///< SetIsoLines.
    void setUnits(orvex::TDUnits Value) { SetUnits(Value); }               ///< SetUnits.
    void setMousePan(bool Value) { SetMousePan(Value); }                   ///< SetMousePan.
    void setWheelZoom(bool Value) { SetWheelZoom(Value); }                 ///< SetWheelZoom.
    void setLivePan(bool Value) { SetLivePan(Value); }                     ///< SetLivePan.
    void setRenderThreads(int Value) { SetRenderThreads(Value); }          ///< SetRenderThreads.
    void setAntiAlias(bool Value) { SetAntiAlias(Value); }                 ///< SetAntiAlias.
    void setVersion(const QString& Value) { SetVersion(Value); }           ///< SetVersion.

signals:
    void picked(int ElementNumber, orvex::TDPoint NearEnd, orvex::TDPoint FarEnd, orvex::TDPoint Mid,
                orvex::TDPoint Closest);
    /// Emitted with OnZoom.
    void zoomed(double Size, double CenterX, double CenterY);
    /// Emitted with OnChangeView.
    void viewChanged(orvex::TDView NewView);
    /// Emitted with OnMouseDown.
    void mouseDown(Qt::MouseButton Button, orvex::TShiftState Shift, int X, int Y);
    /// Emitted with OnMouseMove.
    void mouseMove(orvex::TShiftState Shift, int X, int Y);
    /// Emitted with OnMouseUp.
    void mouseUp(Qt::MouseButton Button, orvex::TShiftState Shift, int X, int Y);

protected:
    /// Fires OnChangeView and viewChanged with the current view.
    void set_onchangeview();
    void fire_zoom(double Size, double CenterX, double CenterY);
    void fire_pick(int ElementNumber, const TDPoint& NearEnd, const TDPoint& FarEnd, const TDPoint& Mid,
                   const TDPoint& Closest);

    // ---- mouse — mouse.cpp
    /// The control's own handling of a press, a move and a release, each
    /// followed by the host's event (OnMouseDown/Move/Up and their signals).
    virtual void MouseDown(Qt::MouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(Qt::MouseButton Button, TShiftState Shift, int X, int Y);
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    /// With WheelZoom on, each notch zooms by a fixed factor about the cursor.
    void wheelEvent(QWheelEvent* event) override;

    // ---- picking — pick.cpp
    /// Fires OnPick and picked.
    void set_onpick(int Index, const TDPoint& NearEnd, const TDPoint& FarEnd, const TDPoint& Mid,
                    const TDPoint& Closest);

private:
    void waittimer();

    // ---- drawing files — files.cpp
    /// The read behind LoadFromFile, MergeFile and make_cad: appends to the
    /// drawing when Merging, else replaces it; 0 when the file cannot be opened.
    int read_cad(const QString& FileName, bool Merging);

    // ---- navigation — navigation.cpp
    /// Fires OnZoom with the current view's half size and centre.
    void set_onzoom();
    /// Scale from HalfSize and origins from the centre, for the control's size.
    void restore_view_invariant(int View);
    /// The drag preview: the first 200 visible elements, drawn at once.
    void drag_preview();

    // ---- mouse — mouse.cpp
    void fire_mouse_down(Qt::MouseButton Button, TShiftState Shift, int X, int Y);
    void fire_mouse_move(TShiftState Shift, int X, int Y);
    void fire_mouse_up(Qt::MouseButton Button, TShiftState Shift, int X, int Y);
    /// Zooms by Notches wheel notches (positive: closer) about (X, Y), redraws, fires OnZoom.
    /// With RenderThreads other than 1 it shows the picture scaled at once and
    /// redraws and fires OnZoom once the notches stop coming.
    void wheel_zoom(int Notches, int X, int Y);
    /// The picture drawn for the view Before, scaled to the view After.
    void show_scaled(const view::Viewport& Before, const view::Viewport& After);

    // ---- editing — editing.cpp
    /// Makes a rotated copy of Element in the current view's plane (a group
    /// member) and marks Element live. The copy of a fill edge gets region
    /// number Region, or a fresh one when Region is 0.
    void rotate_element(TElement& Element, double PivotU, double PivotV, double Angle, int Region = 0);
    /// Marks Element deleted with highlight 0 and records the deletion.
    void delete_element(TElement& Element);
    /// The group shift of ShiftGroup.
    void cad_offsetxy(double DX, double DY, double DZ, int Times, bool KeepSource);

    // ---- visible elements — render.cpp
    /// The element index of the top view, brought up to date, or nullptr
    /// when it is switched off (TSettings::UseElementIndex).
    ElementIndex* element_index();
    /// Whether the elements whose boxes may meet the window were found, for
    /// a redraw or for a pick; they are then in Candidates in list order.
    bool indexed_elements(const ModelBox& Window, bool ForDrawing, std::vector<int>& Candidates);
    /// Draws the visible elements into the parts of the picture (bands of a
    /// redraw, or the strips a pan uncovered), each on its own thread,
    /// leaving the pen, fill and clip as a single pass over the whole
    /// picture does.
    void draw_parts(QPainter& Graphics, QImage& Picture, const std::vector<QRect>& Parts);
    /// One frame of a live pan: the picture moved as far as the view's
    /// origin since it was drawn, and the uncovered strips drawn; false when
    /// only a redraw can show the view.
    bool live_pan_frame();

    /// Mutable internals: the start-up timer, the element index, the wheel.
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace orvex
