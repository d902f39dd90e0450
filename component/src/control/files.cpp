// The control's drawing files: LoadFromFile, MergeFile and SaveToFile open
// the file and hand it to the reader or writer of the format chosen by
// CadType (1 OVX, 2 DXF, 3 IGES).
//
// A read goes into a drawing staged aside, whose elements move into the
// control only when the whole file was read: a read that stops with an error
// leaves the elements, the arc-view table, the extents, the units and the
// file name as they were.
// A save writes a temporary file beside the target and renames it over the
// target only when everything was written and every value reads back; it
// never replaces anything but a regular file.
#include <OrvexGDI/QOrvexGDI.h>

#include "formats/common/read_error.h"
#include "formats/common/text_writer.h"
#include "formats/dxf/dxf.h"
#include "formats/dxf/dxf_full.h"
#include "formats/iges/iges.h"
#include "formats/ovx/ovx.h"
#include "output/device_stream.h"
#include "store/fill_regions.h"

#include <QFile>
#include <QSaveFile>
#include <QScopeGuard>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace orvex {

namespace {

using Reader = void (*)(std::istream&, formats::DrawingSink&);
using Writer = bool (*)(std::ostream&, const formats::DrawingSource&);

// What the control does with each drawing format.
struct CadFormat {
    const char* Name; // in the load report
    Reader Read;
    Reader ReadFull; // the import of ImportMode imFull; Read where the format has no other
    Writer Write;
    int OpenAttempts = 1;       // tries at opening the file, to read it or to save over it
    bool SetsUnits = false;     // a read takes the drawing unit the file names
    bool NamesLayers = false;   // a full import takes the file's layer names
    bool KeepsFileName = false; // a read keeps the file's name as the drawing's
};

// CadType as a row of the table: 1 OVX, 2 DXF, 3 IGES; any other value is
// taken as OVX.
int known_cad_type(int CadType) { return CadType == 2 || CadType == 3 ? CadType : 1; }

const CadFormat& cad_format(int CadType)
{
    static const CadFormat kFormats[] = {
        {.Name = "OVX",
         .Read = formats::ovx::read,
         .ReadFull = formats::ovx::read,
         .Write = formats::ovx::write,
         .OpenAttempts = 2},
        {.Name = "DXF",
         .Read = formats::dxf::read,
         .ReadFull = formats::dxf::read_full,
         .Write = formats::dxf::write,
         .NamesLayers = true,
         .KeepsFileName = true},
        {.Name = "IGES",
         .Read = formats::iges::read,
         .ReadFull = formats::iges::read_full,
         .Write = formats::iges::write,
         .SetsUnits = true,
         .KeepsFileName = true},
    };
    return kFormats[known_cad_type(CadType) - 1];
}

bool open_for_reading(std::ifstream& in, const QString& FileName, int attempts)
{
    if (FileName.isEmpty())
        return false;
    const std::string path = QFile::encodeName(FileName).toStdString();
    for (int i = 0; i < attempts; ++i) {
        in.rdbuf()->pubsetbuf(nullptr, 0); // the readers buffer in large chunks themselves
        in.open(path, std::ios::in | std::ios::binary);
        if (in.is_open())
            return true;
        in.clear();
    }
    return false;
}

bool same_value(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b)); }

// Where the drawing holds a value the writer refused: the first live
// element or arc view holding it, else the first live element holding any
// value that cannot be written (the refused value was computed from it).
std::string holder_of(const TOrvexGDI& control, double value)
{
    for (const TElement* e : *control.Elements)
        for (int s = 1; s <= 6; ++s)
            if (!e->GetDeleted() && same_value(e->GetCoord(s), value))
                return "element " + std::to_string(e->Index()) + " (slot " + std::to_string(s) + ")";
    for (int n = 1; n <= 90; ++n) {
        const TArcView& v = control.Settings->ArcViews[n];
        for (double c : {v.M11, v.M12, v.M13, v.M21, v.M22, v.M23, v.M31, v.M32, v.M33})
            if (v.Defined && same_value(c, value))
                return "arc view " + std::to_string(n);
    }
    for (const TElement* e : *control.Elements)
        for (int s = 1; s <= 6; ++s)
            if (!e->GetDeleted() && !formats::writable_real(e->GetCoord(s)))
                return "element " + std::to_string(e->Index()) + " (slot " + std::to_string(s) + ")";
    return "the drawing";
}

// Whether the save may go to FileName: a name, and nothing there or a
// regular file (a device, a FIFO or a directory is never replaced).
bool may_save_to(const QString& FileName, std::string& Why)
{
    if (FileName.isEmpty()) {
        Why = "no file name";
        return false;
    }
    std::error_code error;
    const auto status = std::filesystem::status(QFile::encodeName(FileName).toStdString(), error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        Why = "not a regular file";
        return false;
    }
    return true;
}

// The save: false, with the reason in Why, when the file was not written.
bool write_cad(TOrvexGDI& control, const QString& FileName, std::string& Why)
{
    const CadFormat& format = cad_format(control.Settings->CadType);
    if (!may_save_to(FileName, Why))
        return false;
    QSaveFile file(FileName);
    bool opened = false;
    for (int i = 0; i < format.OpenAttempts && !opened; ++i)
        opened = file.open(QIODevice::WriteOnly);
    if (!opened) {
        Why = file.errorString().toStdString();
        return false;
    }

    output::DeviceBuffer buffer(file);
    std::ostream out(&buffer);
    const formats::DrawingSource drawing{*control.Elements, control.Settings->ArcViews, control.GetUnits(),
                                         FileName.right(70).toLatin1().toStdString()};
    bool written = false;
    try {
        written = format.Write(out, drawing);
        if (!written)
            Why = "the file could not be written";
    } catch (const formats::UnwritableValue& e) {
        Why = (e.Holder.empty() ? holder_of(control, e.Value) : e.Holder) + " holds " + e.what();
    }
    if (!written) {
        file.cancelWriting();
        file.commit(); // removes the temporary file
        return false;
    }
    if (!file.commit()) {
        Why = file.errorString().toStdString();
        return false;
    }
    control.Settings->DrawingFileName = FileName;
    return true;
}

// The report of a read that completed. Readers that count nothing
// themselves get the elements made, per kind; the report counts the staged
// elements, so it is taken before they move.
TLoadReport load_report(formats::StagedDrawing& Staged, const CadFormat& Format)
{
    TLoadReport report = std::move(Staged.Report);
    report.Format = Format.Name;
    if (report.Kinds.empty()) {
        static const char* const kNames[] = {"", "POINT", "LINE", "ARC", "CIRCLE"};
        for (const TElement* e : Staged.Elements) {
            const int t = e->GetEtype();
            const std::string kind = t >= 1 && t <= 4 ? kNames[t] : "TYPE " + std::to_string(t);
            auto k = std::find_if(report.Kinds.begin(), report.Kinds.end(),
                                  [&](const TLoadCount& c) { return c.Kind == kind; });
            if (k == report.Kinds.end())
                k = report.Kinds.insert(report.Kinds.end(), TLoadCount{kind, 0, 0});
            ++k->Read;
        }
    }
    return report;
}

} // namespace

void TOrvexGDI::LoadFromFile(const QString& FileName)
{
    Settings->MergeMode = false;
    read_cad(FileName, false);
}

void TOrvexGDI::MergeFile(const QString& FileName)
{
    // MergeMode tells a host that a merge is being read: set for the read,
    // clear again however the call ends.
    Settings->MergeMode = true;
    const auto cleared = qScopeGuard([this] { Settings->MergeMode = false; });
    read_cad(FileName, true);
}

void TOrvexGDI::SaveToFile(const QString& FileName)
{
    std::string why;
    if (!write_cad(*this, FileName, why))
        throw EFileError(QFile::encodeName(FileName).toStdString() + ": " + why);
}

int TOrvexGDI::make_cad(const QString& FileName) { return read_cad(FileName, Settings->MergeMode); }

int TOrvexGDI::read_cad(const QString& FileName, bool Merging)
{
    Settings->CadType = known_cad_type(Settings->CadType);
    const CadFormat& format = cad_format(Settings->CadType);
    const bool full = Settings->ImportMode == imFull;

    std::ifstream in;
    if (!open_for_reading(in, FileName, format.OpenAttempts))
        return 0; // nothing was read, so nothing changes

    // Every read starts from a reset arc-view table, staged with the
    // elements; the control's table is replaced only when the read completes.
    formats::StagedDrawing staged(Settings->ArcViews, Settings->BackgroundColor, GetUnits());
    formats::reset_arc_views(staged.ArcViews);
    staged.Surfaces.IsoLines = Settings->IsoLines;
    try {
        (full ? format.ReadFull : format.Read)(in, staged);
    } catch (const std::exception& e) {
        formats::raise_prefixed(e, QFile::encodeName(FileName).toStdString() + ", ");
        throw;
    }

    // Commit: replace or extend the drawing, then take the file's tables.
    if (!Merging) {
        Elements->Clear();
        reset_extents();
    }
    Settings->MergeMode = false; // the merge, if it was one, is read
    Settings->LoadReport = load_report(staged, format);
    // A load replaces the layer names; a merge adds those of its file.
    if (!Merging)
        Settings->LayerNames.fill({});
    if (full && format.NamesLayers) {
        for (int layer = 0; layer <= 254; ++layer)
            if (!staged.LayerNames[layer].empty())
                Settings->LayerNames[layer] = staged.LayerNames[layer];
    }
    // A merged file's regions must not continue a region the drawing ends with.
    if (Merging)
        renumber_regions_after(staged.Elements, *Elements);
    Elements->TakeFrom(staged.Elements);
    Settings->ArcViews = staged.ArcViews;
    if (format.SetsUnits)
        SetUnits(staged.Units);
    if (staged.StopReading)
        Settings->StopReading = true;
    if (format.KeepsFileName)
        Settings->DrawingFileName = FileName;
    get_max_min();
    return 1;
}

bool TOrvexGDI::save_cad(const QString& FileName)
{
    std::string why;
    return write_cad(*this, FileName, why);
}

} // namespace orvex
