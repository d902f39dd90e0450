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

#include "formats/dxf.h"
#include "formats/iges.h"
#include "formats/ovx.h"
#include "formats/text_writer.h"

#include <QFile>
#include <QSaveFile>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <streambuf>
#include <string>

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

bool same_value(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

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
    const int cadType = control.Settings->CadType;
    const int type = (cadType == 2 || cadType == 3) ? cadType : 1;
    if (!may_save_to(FileName, Why))
        return false;
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly) && !(type == 1 && file.open(QIODevice::WriteOnly))) {
        Why = file.errorString().toStdString();
        return false;
    }

    DeviceBuffer buffer(file);
    std::ostream out(&buffer);
    const formats::DrawingSource drawing{*control.Elements, control.Settings->ArcViews, control.GetUnits(),
                                         FileName.right(70).toLatin1().toStdString()};
    bool written = false;
    try {
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
        if (!written)
            Why = "the file could not be written";
    } catch (const formats::UnwritableValue& e) {
        Why = holder_of(control, e.Value) + " holds " + e.what();
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

} // namespace

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
    std::string why;
    if (!write_cad(*this, FileName, why))
        throw EFileError(QFile::encodeName(FileName).toStdString() + ": " + why);
}

int TOrvexGDI::make_cad(const QString& FileName)
{
    // Every read starts from a reset arc-view table; a file that cannot be
    // opened, or a read that fails, puts the old table back.
    const formats::ArcViewTable before = Settings->ArcViews;
    formats::reset_arc_views(Settings->ArcViews);
    if (Settings->CadType != 2 && Settings->CadType != 3)
        Settings->CadType = 1;
    const int type = Settings->CadType;

    std::ifstream in;
    if (!open_for_reading(in, FileName, type == 1 ? 2 : 1)) {
        Settings->ArcViews = before; // nothing was read, so nothing changes
        return 0;
    }

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
    try {
        read(staged);
    } catch (const std::exception& e) {
        Settings->ArcViews = before;
        raise_with_file_name(e);
        throw;
    }

    // Commit: replace or extend the drawing, then take the file's tables.
    if (!Settings->MergeMode) {
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
    get_max_min();
    return 1;
}

bool TOrvexGDI::save_cad(const QString& FileName)
{
    std::string why;
    return write_cad(*this, FileName, why);
}

} // namespace orvex
