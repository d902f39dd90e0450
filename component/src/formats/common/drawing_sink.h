// The two sides a drawing file meets: a sink that the readers fill through
// the element factory, and the drawing that the writers write.
#pragma once

#include <OrvexGDI/Elements.h>
#include <OrvexGDI/VUvuDAVTypes.h>

#include <string>

namespace orvex::formats {

using ArcViewTable = CheckedArray<TArcView, 1, 90>;

/// How the full IGES import shows surfaces and solids.
struct SurfaceOptions {
    /// Draw surfaces by their boundaries (off: only the file's curves).
    bool Surfaces = true;
    /// Iso-parameter lines per direction of each surface, 0 to 10.
    int IsoLines = 0;
    /// Trimming curves drawn as their parameter-space curves mapped
    /// through the surface even where the file holds model-space ones.
    bool ParameterSpaceTrims = false;
};

/// What a reader fills. Elements are made only through make_element, so the
/// factory's range checks and clamps apply to file data too.
class DrawingSink {
public:
    virtual ~DrawingSink() = default;

    /// The element factory: returns the new element's index, or -1 when the
    /// coordinates are rejected and nothing was made.
    virtual int make_element(int Etype, double c1, double c2, double c3, double c4, double c5, double c6, TColor Colour,
                             int LineType, int Layer, int Highlight, int View) = 0;
    /// An element made by make_element, for values placed after the factory.
    virtual TElement& element(int Index) = 0;
    /// The arc-view table of the drawing being read.
    virtual ArcViewTable& arc_views() = 0;
    /// The background colour the drawing is shown on (for the colour rules).
    virtual TColor background_color() const = 0;
    /// The drawing unit named by the file.
    virtual void set_units(TDUnits Units) = 0;
    /// The DXF end marker was met.
    virtual void stop_reading() = 0;

    /// What the read met, for the host; nullptr when nobody asks.
    virtual TLoadReport* report() { return nullptr; }
    /// The file's name of a layer number (full import).
    virtual void set_layer_name(int /*Layer*/, const std::string& /*Name*/) {}
    /// A region number no region of this drawing has yet, for the fill
    /// edges of a new region: 1, 2, ... in the order asked.
    virtual int next_region() { return ++regions_; }
    /// How surfaces are shown (full IGES import).
    virtual SurfaceOptions surface_options() const { return {}; }

private:
    int regions_ = 0;
};

/// What a writer writes.
struct DrawingSource {
    const TElements& Elements;
    const ArcViewTable& ArcViews;
    TDUnits Units = uINCH;
    /// Text of the IGES start section (the file name).
    std::string StartText;
};

/// A drawing read aside, so that a failed read leaves the shown drawing as it
/// was: its own element list, a copy of the arc-view table, the units and the
/// end-marker flag. The factory applies the same rules as the control's.
class StagedDrawing final : public DrawingSink {
public:
    StagedDrawing(const ArcViewTable& ArcViews, TColor Background, TDUnits Units);

    int make_element(int Etype, double c1, double c2, double c3, double c4, double c5, double c6, TColor Colour,
                     int LineType, int Layer, int Highlight, int View) override;
    TElement& element(int Index) override { return Elements.GetElement(Index); }
    ArcViewTable& arc_views() override { return ArcViews; }
    TColor background_color() const override { return Background; }
    void set_units(TDUnits Value) override { Units = Value; }
    void stop_reading() override { StopReading = true; }
    TLoadReport* report() override { return &Report; }
    void set_layer_name(int Layer, const std::string& Name) override { LayerNames[Layer] = Name; }
    SurfaceOptions surface_options() const override { return Surfaces; }

    TElements Elements;
    ArcViewTable ArcViews;
    TColor Background;
    TDUnits Units;
    bool StopReading = false;
    TLoadReport Report;
    CheckedArray<std::string, 0, 254> LayerNames;
    SurfaceOptions Surfaces;
};

/// The arc-view reset that precedes every read: no entry defined but entry 1,
/// which becomes the identity; the other coefficients stay.
void reset_arc_views(ArcViewTable& ArcViews);

} // namespace orvex::formats
