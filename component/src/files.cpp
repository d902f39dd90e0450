// The control's drawing files: LoadFromFile, MergeFile and SaveToFile open
// the file and hand it to the reader or writer of the format chosen by
// CadType (1 OVX, 2 DXF, 3 IGES).
//
// A read goes into a drawing staged aside, whose elements move into the
// control only when the whole file was read: a read that stops with an error
// leaves the elements, the arc-view table, the extents, the units and the
// file name as they were.
// A save writes a temporary file beside the target and renames it over the
// target only when everything was written.
#include <OrvexGDI/QOrvexGDI.h>

#include "formats/dxf.h"
#include "formats/iges.h"
#include "formats/ovx.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <fstream>
#include <streambuf>

namespace orvex {

namespace {

// An output stream buffer over a QIODevice: every block goes straight to the
// device, and a short write makes the stream fail.
class DeviceBuffer : public std::streambuf {
public:
    explicit DeviceBuffer(QIODevice& device) : device_(device) {}

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        return device_.write(&byte, 1) == 1 ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char* data, std::streamsize n) override
    {
        const qint64 written = device_.write(data, n);
        return written < 0 ? 0 : static_cast<std::streamsize>(written);
    }

private:
    QIODevice& device_;
};

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

} // namespace

void TOrvexGDI::take_load_report(formats::StagedDrawing& Staged, int Type, bool Merging)
{
    TLoadReport& report = Staged.Report;
    report.Format = Type == 2 ? "DXF" : Type == 3 ? "IGES" : "OVX";
    // Readers that count nothing themselves: the elements made, per kind.
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
    Settings->LoadReport = std::move(report);
    if (Settings->ImportMode == imFull && Type == 2) {
        if (!Merging)
            Settings->LayerNames.fill({});
        for (int layer = 0; layer <= 254; ++layer)
            if (!Staged.LayerNames[layer].empty())
                Settings->LayerNames[layer] = Staged.LayerNames[layer];
    }
}

void TOrvexGDI::LoadFromFile(const QString& FileName)
{
    Settings->MergeMode = false;
    make_cad(FileName);
}

void TOrvexGDI::MergeFile(const QString& FileName)
{
    Settings->MergeMode = true;
    try {
        make_cad(FileName);
    } catch (...) {
        Settings->MergeMode = false;
        throw;
    }
    Settings->MergeMode = false;
}

void TOrvexGDI::SaveToFile(const QString& FileName)
{
    save_cad(FileName);
}

int TOrvexGDI::make_cad(const QString& FileName)
{
    // Every read starts from a reset arc-view table, even one whose file
    // cannot be opened; a read that fails puts the old table back.
    const formats::ArcViewTable before = Settings->ArcViews;
    formats::reset_arc_views(Settings->ArcViews);
    if (Settings->CadType != 2 && Settings->CadType != 3)
        Settings->CadType = 1;
    const int type = Settings->CadType;

    std::ifstream in;
    if (!open_for_reading(in, FileName, type == 1 ? 2 : 1))
        return 0;

    auto read = [&](formats::DrawingSink& sink) {
        switch (type) {
        case 2:
            formats::dxf::read(in, sink);
            break;
        case 3:
            formats::iges::read(in, sink);
            break;
        default:
            formats::ovx::read(in, sink);
            break;
        }
    };
    auto raise_with_file_name = [&](const std::exception& e) {
        const std::string where = QFile::encodeName(FileName).toStdString() + ", ";
        if (dynamic_cast<const ERangeError*>(&e))
            throw ERangeError(where + e.what());
        if (dynamic_cast<const EListError*>(&e))
            throw EListError(where + e.what());
        if (dynamic_cast<const EConvertError*>(&e))
            throw EConvertError(where + e.what());
        if (dynamic_cast<const EFileError*>(&e))
            throw EFileError(where + e.what());
    };

    formats::StagedDrawing staged(Settings->ArcViews, Settings->BackgroundColor, GetUnits());
    staged.ImportMode = Settings->ImportMode;
    try {
        read(staged);
    } catch (const std::exception& e) {
        Settings->ArcViews = before;
        raise_with_file_name(e);
        throw;
    }

    // Commit: replace or extend the drawing, then take the file's tables.
    const bool merging = Settings->MergeMode;
    if (!merging) {
        Elements->Clear();
        reset_extents();
    }
    Settings->MergeMode = false;
    Elements->TakeFrom(staged.Elements);
    Settings->ArcViews = staged.ArcViews;
    if (type == 3)
        SetUnits(staged.Units);
    if (staged.StopReading)
        Settings->StopReading = true;
    if (type != 1)
        Settings->DrawingFileName = FileName;
    take_load_report(staged, type, merging);
    get_max_min();
    return 1;
}

bool TOrvexGDI::save_cad(const QString& FileName)
{
    const int type = (Settings->CadType == 2 || Settings->CadType == 3) ? Settings->CadType : 1;
    if (FileName.isEmpty())
        return false;
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly) && !(type == 1 && file.open(QIODevice::WriteOnly)))
        return false;

    DeviceBuffer buffer(file);
    std::ostream out(&buffer);
    const formats::DrawingSource drawing{*Elements, Settings->ArcViews, GetUnits(),
                                         FileName.right(70).toLatin1().toStdString()};
    bool written = false;
    switch (type) {
    case 2:
        written = formats::dxf::write(out, drawing);
        break;
    case 3:
        written = formats::iges::write(out, drawing);
        break;
    default:
        written = formats::ovx::write(out, drawing);
        break;
    }
    if (!written) {
        file.cancelWriting();
        file.commit(); // removes the temporary file
        return false;
    }
    if (!file.commit())
        return false;
    Settings->DrawingFileName = FileName;
    return true;
}

} // namespace orvex
