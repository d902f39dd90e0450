// Plain value types shared by the drawing control, the file formats and the
// construction calculator: point, line and arc records in their public and
// internal forms, the arc-view record, the enumerations, the construction
// result-code texts and the error classes raised to callers.
//
// This header includes no Qt header: the Qt-free units build on it.
#pragma once

#include <OrvexGDI/orvexgdi_export.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvex {

// ---------------------------------------------------------------- errors

/// An index outside a fixed table, an integer overflow, or a rounding whose
/// result does not fit in 32 bits.
class ORVEXGDI_EXPORT ERangeError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

/// An element index outside 0 .. Count - 1.
class ORVEXGDI_EXPORT EListError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

/// A text that is not a number.
class ORVEXGDI_EXPORT EConvertError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

/// The GIF encoder's own errors.
class ORVEXGDI_EXPORT EGifError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// A picture file that cannot be written.
class ORVEXGDI_EXPORT EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// No printer, or a print job that cannot start.
class ORVEXGDI_EXPORT EPrinterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// ---------------------------------------------------------------- records

/// A framework colour value: 24 bits, red in the low byte (0x0000FF is red).
using TColor = std::int32_t;

/// A point in model space.
struct TDPoint {
    /// Model coordinates.
    double X = 0, Y = 0, Z = 0;
};

/// The segment from P1 to P2.
struct TDLine {
    /// Start and end point.
    TDPoint P1, P2;
};

/// The arc about Center running counter-clockwise from StartAngle to
/// EndAngle (degrees). Equal angles mean a full circle.
struct TDArc {
    /// Centre in the arc's plane coordinates.
    TDPoint Center;
    /// Radius and counter-clockwise angles in degrees.
    double Radius = 0, StartAngle = 0, EndAngle = 0;
};

/// Internal twins of the public records, used by the control's own routines.
struct dpoint {
    /// Model coordinates.
    double X = 0, Y = 0, Z = 0;
};

struct dline {
    /// Start and end point.
    dpoint P1, P2;
};

struct darc {
    /// Centre in the arc's plane coordinates.
    dpoint Center;
    /// Radius and counter-clockwise angles in degrees.
    double Radius = 0, StartAngle = 0, EndAngle = 0;
};

/// The line NormalX*x + NormalY*y + Offset = 0 with a unit normal.
struct diline {
    /// Unit normal and offset of the line.
    double NormalX = 0, NormalY = 0, Offset = 0;
};

/// An arc view (drawing plane): the columns of the matrix are the model
/// directions of the plane's first axis, second axis and normal.
struct TDView3D {
    /// The arc-view number 1 .. 90.
    std::int32_t View = 0;
    /// First matrix row: X = M11 u + M12 v + M13 w.
    double M11 = 0, M12 = 0, M13 = 0;
    /// Second matrix row: Y = M21 u + M22 v + M23 w.
    double M21 = 0, M22 = 0, M23 = 0;
    /// Third matrix row: Z = M31 u + M32 v + M33 w.
    double M31 = 0, M32 = 0, M33 = 0;
};

/// One entry of a drawing's arc-view table: the plane-to-model matrix of a
/// drawing plane (coefficients in the order of TDView3D) and whether the entry
/// is defined.
struct TArcView {
    /// First matrix row, as in TDView3D.
    double M11 = 0, M12 = 0, M13 = 0;
    /// Second matrix row.
    double M21 = 0, M22 = 0, M23 = 0;
    /// Third matrix row.
    double M31 = 0, M32 = 0, M33 = 0;
    /// Whether the entry holds a plane.
    bool Defined = false;
};

// Moving a value between the two record families copies the fields in order.
/// The internal twin of a public point.
inline dpoint to_dpoint(const TDPoint& p) { return {p.X, p.Y, p.Z}; }
/// The public twin of an internal point.
inline TDPoint to_TDPoint(const dpoint& p) { return {p.X, p.Y, p.Z}; }
/// The internal twin of a public line.
inline dline to_dline(const TDLine& l) { return {to_dpoint(l.P1), to_dpoint(l.P2)}; }
/// The public twin of an internal line.
inline TDLine to_TDLine(const dline& l) { return {to_TDPoint(l.P1), to_TDPoint(l.P2)}; }
/// The internal twin of a public arc.
inline darc to_darc(const TDArc& a) { return {to_dpoint(a.Center), a.Radius, a.StartAngle, a.EndAngle}; }
/// The public twin of an internal arc.
inline TDArc to_TDArc(const darc& a) { return {to_TDPoint(a.Center), a.Radius, a.StartAngle, a.EndAngle}; }

// ---------------------------------------------------------------- enumerations

/// The standard views. The control keeps the current one as view number
/// ordinal + 1 (1 top, 2 front, 3 side, 4 isometric or freely rotated).
enum TDView : std::uint8_t { vTOP, vFRONT, vSIDE, vISO };

/// The drawing unit label; no value is ever converted.
enum TDUnits : std::uint8_t { uINCH, uMM };

/// How much of a DXF or IGES file a load reads: imBasic the entities of the
/// drawing's own exchange subset, imFull also what other CAD programs write
/// (blocks and inserts, polylines with bulges, ellipses, splines, composite
/// and B-spline curves, true colours, named layers).
enum TImportMode : std::uint8_t { imBasic, imFull };

/// What one load read, per entity kind of the file: how many became
/// elements and how many were left out.
struct TLoadCount {
    std::string Kind; ///< The file's name of the entity kind ("LINE", "ARC", ...).
    int Read = 0;     ///< How many became elements.
    int Skipped = 0;  ///< How many were left out.
};

/// The report of the last load: the format ("OVX", "DXF", "IGES"), the
/// version the file declares (empty when it names none) and the counts per
/// entity kind, in the order kinds were first met.
struct TLoadReport {
    std::string Format;            ///< "OVX", "DXF" or "IGES".
    std::string Version;           ///< The version the file declares; empty for none.
    std::vector<TLoadCount> Kinds; ///< Counts per entity kind, in the order first met.
    /// The drawing units the file states, in its own terms ("inch", "mm",
    /// "feet", "unitless", ...); empty when it states none (OVX never does).
    std::string Units;
    /// Entities read into block definitions that no INSERT of the model
    /// space placed (full DXF import); they give no elements.
    int UnplacedBlockEntities = 0;
    /// What the read cut short or left out, one line each (a hatch that
    /// stopped at its segment limit, say).
    std::vector<std::string> Notes;

    /// The counts of a kind; zeros for a kind the file did not hold.
    TLoadCount Count(const std::string& Kind) const
    {
        for (const TLoadCount& k : Kinds)
            if (k.Kind == Kind)
                return k;
        return {Kind, 0, 0};
    }
};

/// Which element kinds a pick may return.
enum TDFilter : std::uint8_t { fAll, fPoints, fLines, fArcs, fPointLine, fPointArc, fLineArc };

/// The side of a line on which a point lies: 1 towards +X, 2 towards -X,
/// 3 towards +Y, 4 towards -Y.
using dside = std::uint8_t;

/// The view number 1 .. 4 of a standard view.
inline int view_number(TDView v) { return static_cast<int>(v) + 1; }
/// The standard view of a view number 1 .. 4.
inline TDView view_from_number(int number) { return static_cast<TDView>(number - 1); }

// ---------------------------------------------------------------- fixed tables

/// A fixed table indexed First..Last, as the drawing's tables are (layers
/// 0..254, arc views 1..90, per-view values 1..4). An index outside the
/// bounds raises ERangeError.
template <typename T, int First, int Last>
class CheckedArray {
    static_assert(Last >= First);

public:
    /// The first valid index.
    static constexpr int low() { return First; }
    /// The last valid index.
    static constexpr int high() { return Last; }
    /// Number of entries.
    static constexpr std::size_t size() { return static_cast<std::size_t>(Last - First + 1); }

    /// Entry `index`; ERangeError outside First .. Last.
    T& operator[](int index) { return items_[checked(index)]; }
    /// Entry `index`, read only; ERangeError outside First .. Last.
    const T& operator[](int index) const { return items_[checked(index)]; }

    /// Sets every entry to `value`.
    void fill(const T& value) { items_.fill(value); }
    /// Iterator to the first entry.
    auto begin() { return items_.begin(); }
    /// Iterator past the last entry.
    auto end() { return items_.end(); }
    /// Iterator to the first entry, read only.
    auto begin() const { return items_.begin(); }
    /// Iterator past the last entry, read only.
    auto end() const { return items_.end(); }

private:
    static std::size_t checked(int index)
    {
        if (index < First || index > Last)
            throw ERangeError("index " + std::to_string(index) + " outside " + std::to_string(First) + ".." +
                              std::to_string(Last));
        return static_cast<std::size_t>(index - First);
    }
    std::array<T, size()> items_{};
};

// ---------------------------------------------------------------- result codes

/// Construction result codes: 0 success, 902..908 failures.
enum : int {
    CALC_OK = 0,
    CALC_PARALLEL_LINES = 902,
    CALC_UNDEFINED_LINE = 903,
    CALC_ARC_NO_INTERSECT = 904,
    CALC_RADIUS_NO_INTERSECT = 905,
    CALC_CONCENTRIC = 906,
    CALC_NO_MEMORY = 907,
    CALC_COLLINEAR = 908,
};

/// The message texts of the construction result codes 902..908.
ORVEXGDI_EXPORT extern const CheckedArray<std::string, 902, 908> calcerrstr;

} // namespace orvex
