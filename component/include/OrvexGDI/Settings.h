// TSettings: all state of one drawing control (drawing attributes, the zoom
// state of every view, mouse and file state). Kept apart from the widget so
// the view math and the renderer can take it without the control's class.
#pragma once

#include <OrvexGDI/VUvuDAVTypes.h>
#include <OrvexGDI/ViewState.h>

#include <QBrush>
#include <QPen>
#include <QString>

class QPainter;

namespace orvex {

class TOrvexGDI;

/// All state of one drawing control. Hosts may read and write the fields;
/// those of what the picture shows (view, zoom state, extents, arc planes,
/// visible layers) come from TViewState.
class ORVEXGDI_EXPORT TSettings : public TViewState {
public:
    /// All fields at their initial values, owned by the control Owner.
    explicit TSettings(TOrvexGDI* Owner);

    TOrvexGDI* Owner; ///< The control these settings belong to.

    // Drawing attributes and resources
    TColor DrawColor = 0x00FF00; ///< Colour given to new elements.
    int LineType = 0;            ///< Line type given to new elements.
    int CurrentLayer = 1;        ///< Layer given to new elements.
    TColor BackgroundColor = 0;  ///< Picture background colour.
    QBrush BackgroundBrush;      ///< Always in BackgroundColor, opaque.
    QPen Pen;                    ///< Outline pen, set up again for every outline.
    QBrush FillBrush;            ///< Fill brush, recoloured for every filled shape.
    bool AntiAlias = false;      ///< Smoothing of the picture.
    bool PolylineArcs = false;   ///< Top-view arcs drawn as polylines; hosts write it directly.
    /// Redraws and picks in the top view visit only the elements near the
    /// window, through an index of where they lie (off: every element).
    bool UseElementIndex = true;
    /// Threads that draw the picture, each a horizontal band of it (0: one
    /// per core; 1: the single pass). Exports, vector copies and prints are
    /// drawn in one pass whatever it says.
    int RenderThreads = 1;
    bool ShowAxis = false;    ///< Draw the axis symbol after the elements.
    int DefaultArcView = 1;   ///< Arc view of arcs made by MakeArcX.
    bool Millimetres = false; ///< The Units property: true for uMM.

    // Mouse and picking
    bool MousePan = true;                       ///< Dragging pans the view.
    bool WheelZoom = false;                     ///< The mouse wheel zooms about the cursor.
    bool LivePan = false;                       ///< A pan drag shows the whole drawing in every frame.
    int MouseDownX = 0, MouseDownY = 0;         ///< Pixel of the last mouse press.
    bool PanMoved = false, RotateMoved = false; ///< A drag has moved or rotated the view.
    bool PickPending = false;                   ///< A pick waits for the next mouse release.
    int PickPointMode = 0;                      ///< Mode of the pick's characteristic-point step (10 after Pick).
    double PickAperture = 6.0;                  ///< Pick hit tolerance in pixels.
    dpoint PickFarEnd;                          ///< Far end found by the last arc hit test.
    int PickFilterCode = 0;                     ///< Internal code of PickFilter.

    // Files, export and printing
    int CadType = 1;                              ///< File format of the file operations: 1 OVX, 2 DXF, 3 IGES.
    TImportMode ImportMode = imBasic;             ///< imFull adds what other CAD programs write.
    int IsoLines = 0;                             ///< Iso-parameter lines per surface direction (full IGES import).
    TLoadReport LoadReport;                       ///< What the last read took and skipped.
    CheckedArray<std::string, 0, 254> LayerNames; ///< Layer names of the last full import; empty for none.
    bool MergeMode = false;                       ///< A merge is being read.
    bool StopReading = false;                     ///< Set by the DXF reader at its end marker.
    QString DrawingFileName;                      ///< Last drawing file name; the print job title.
    bool CanvasMode = false;                      ///< Drawing goes to OutputCanvas (the clipboard's vector copy).
    QPainter* OutputCanvas = nullptr;             ///< The canvas of CanvasMode.
    bool Printing = false;                        ///< Drawing goes to the printer.
    bool PrintMonochrome = false;                 ///< Print in black.
};

} // namespace orvex
