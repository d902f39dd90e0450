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
    /// Redraws and picks in the top view visit only the elements near the
    /// window, through an index of where they lie (off: every element).
    bool UseElementIndex = true;
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
    TImportMode ImportMode = imBasic;
    TLoadReport LoadReport;
    CheckedArray<std::string, 0, 254> LayerNames; // from the last full import; empty for none
    bool MergeMode = false;
    bool StopReading = false;
    QString DrawingFileName;
    bool CanvasMode = false;
    QPainter* OutputCanvas = nullptr;
    bool Printing = false;
    bool PrintMonochrome = false;
};

} // namespace orvex
