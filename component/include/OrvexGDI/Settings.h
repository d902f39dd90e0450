// TSettings: all state of one drawing control (drawing attributes, the zoom
// state of every view, mouse and file state). Kept apart from the widget so
// the view math and the renderer can take it without the control's class.
#pragma once

#include <OrvexGDI/VUvuDAVTypes.h>

#include <QBrush>
#include <QPen>
#include <QString>

class QPainter;

namespace orvex {

class TOrvexGDI;

/// The view rotation, computed before every paint.
struct TRotationMatrix {
    double R11 = 0, R12 = 0, R13 = 0; ///< First row.
    double R21 = 0, R22 = 0, R23 = 0; ///< Second row.
    double R31 = 0, R32 = 0, R33 = 0; ///< Third row.
};

/// A value per view, indexed by the view number 1 (top) .. 4 (isometric).
template <typename T>
using PerView = CheckedArray<T, 1, 4>;

/// All state of one drawing control. Hosts may read and write the fields.
class ORVEXGDI_EXPORT TSettings {
public:
    /// All fields at their initial values, owned by the control Owner.
    explicit TSettings(TOrvexGDI* Owner);

    TOrvexGDI* Owner; ///< The control these settings belong to.

    // Drawing attributes and resources
    TColor DrawColor = 0x00FF00; ///< Colour given to new elements.
    int LineType = 0; ///< Line type given to new elements.
    int CurrentLayer = 1; ///< Layer given to new elements.
    TColor BackgroundColor = 0; ///< Picture background colour.
    QBrush BackgroundBrush; ///< Always in BackgroundColor, opaque.
    QPen Pen; ///< Outline pen, set up again for every outline.
    QBrush FillBrush; ///< Fill brush, recoloured for every filled shape.
    bool AntiAlias = false; ///< Smoothing of the picture.
    bool PolylineArcs = false; ///< Top-view arcs drawn as polylines; hosts write it directly.
    /// Redraws and picks in the top view visit only the elements near the
    /// window, through an index of where they lie (off: every element).
    bool UseElementIndex = true;
    bool ShowAxis = false; ///< Draw the axis symbol after the elements.
    CheckedArray<bool, 0, 254> LayerVisible; ///< Visibility per layer number.
    CheckedArray<TArcView, 1, 90> ArcViews; ///< The drawing planes of arcs.
    int DefaultArcView = 1; ///< Arc view of arcs made by MakeArcX.

    // View and projection
    int ViewNumber = 1; ///< Current view: 1 top, 2 front, 3 side, 4 isometric or rotated.
    double XRotation = -70, YRotation = 0, ZRotation = -20; ///< Rotation angles of views 2 to 4, degrees.
    double IsoXRotation = -70, IsoYRotation = 0, IsoZRotation = -20; ///< Saved angles of the rotated view.
    TRotationMatrix RotationMatrix; ///< Computed before every paint.
    PerView<double> ScaleX, ScaleY; ///< Pixels per model unit; ScaleY is -ScaleX.
    PerView<int> OriginX, OriginY; ///< Pixel position of the view plane's origin.
    PerView<double> CenterX, CenterY; ///< Model point at the window centre.
    PerView<double> HalfSize; ///< Half the visible model height.
    PerView<double> PrevHalfSize, PrevCenterX, PrevCenterY; ///< The zoom before the last one (ZoomLast).
    double ExtentMinX = 0, ExtentMinY = 0, ExtentMinZ = 0; ///< Lower drawing extents (Z is not maintained).
    double ExtentMaxX = 0, ExtentMaxY = 0, ExtentMaxZ = 0; ///< Upper drawing extents (Z is not maintained).
    bool Millimetres = false; ///< The Units property: true for uMM.

    // Mouse and picking
    bool MousePan = true; ///< Dragging pans the view.
    bool WheelZoom = false; ///< The mouse wheel zooms about the cursor.
    int MouseDownX = 0, MouseDownY = 0; ///< Pixel of the last mouse press.
    bool PanMoved = false, RotateMoved = false; ///< A drag has moved or rotated the view.
    bool PickPending = false; ///< A pick waits for the next mouse release.
    int PickPointMode = 0; ///< Mode of the pick's characteristic-point step (10 after Pick).
    double PickAperture = 6.0; ///< Pick hit tolerance in pixels.
    dpoint PickFarEnd; ///< Far end found by the last arc hit test.
    int PickFilterCode = 0; ///< Internal code of PickFilter.

    // Files, export and printing
    int CadType = 1; ///< File format of the file operations: 1 OVX, 2 DXF, 3 IGES.
    TImportMode ImportMode = imBasic; ///< imFull adds what other CAD programs write.
    TLoadReport LoadReport; ///< What the last read took and skipped.
    CheckedArray<std::string, 0, 254> LayerNames; ///< Layer names of the last full import; empty for none.
    bool MergeMode = false; ///< A merge is being read.
    bool StopReading = false; ///< Set by the DXF reader at its end marker.
    QString DrawingFileName; ///< Last drawing file name; the print job title.
    bool CanvasMode = false; ///< Drawing goes to OutputCanvas (the clipboard's vector copy).
    QPainter* OutputCanvas = nullptr; ///< The canvas of CanvasMode.
    bool Printing = false; ///< Drawing goes to the printer.
    bool PrintMonochrome = false; ///< Print in black.
};

} // namespace orvex
