#include "arguments.h"
#include "commands.h"
#include "drawing_files.h"
#include "tool_error.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QTextStream>

#include <map>
#include <set>

namespace orvex::tool {

namespace {

// Names of the element types in the order info lists them; the first four
// are always listed, the others when the drawing has any.
struct TypeName {
    int etype;
    const char* plural;
};
constexpr TypeName kTypeNames[] = {
    {etLine, "lines"},          {etArc, "arcs"},         {etCircle, "circles"},       {etPoint, "points"},
    {etPointMark, "marks"},     {etArrow, "arrows"},     {etLeader, "leaders"},       {etWitness, "witness lines"},
    {etImage, "images"},        {etEllipse, "ellipses"}, {etRectangle, "rectangles"}, {etClipRect, "clip rectangles"},
    {etFillEdge, "fill edges"},
};
constexpr int kAlwaysListed = 4;

QString number(double value) { return QString::number(value, 'g', 10); }

void describe(QTextStream& out, const QString& file, DrawingFormat format, TImportMode mode, int isoLines)
{
    TOrvexGDI control;
    load_drawing(control, file, format, mode, isoLines);

    std::map<int, int> counts;
    std::set<int> layers;
    int live = 0;
    for (int i = 0; i < control.Elements->Count(); ++i) {
        const TElement& e = control.GetElement(i);
        if (e.GetDeleted())
            continue;
        ++live;
        ++counts[e.GetEtype()];
        layers.insert(e.GetLayer());
    }

    const QString version = file_version(file, format);
    out << "file: " << file << "\n";
    out << "format: " << format_name(format) << "\n";
    out << "version: " << (version.isEmpty() ? QStringLiteral("none declared") : version) << "\n";
    out << "elements: " << live << "\n";
    int listed = 0;
    for (const TypeName& t : kTypeNames) {
        const int n = counts.count(t.etype) ? counts[t.etype] : 0;
        if (listed++ < kAlwaysListed || n > 0)
            out << t.plural << ": " << n << "\n";
        counts.erase(t.etype);
    }
    for (const auto& [etype, n] : counts)
        out << "type " << etype << ": " << n << "\n";

    // A layer's name follows its number where the file names it otherwise.
    QStringList layerList;
    for (int layer : layers) {
        const QString name = layer >= 0 && layer <= 254 ? control.LayerName(layer) : QString();
        layerList << (name.isEmpty() || name == QString::number(layer)
                          ? QString::number(layer)
                          : QString::number(layer) + QStringLiteral(" (") + name + QLatin1Char(')'));
    }
    out << "layers: " << (layerList.isEmpty() ? QStringLiteral("none") : layerList.join(QLatin1String(", "))) << "\n";

    const TSettings& s = *control.Settings;
    // The control keeps the extents of X and Y, the plane every view fits.
    if (live == 0)
        out << "extents: none\n";
    else
        out << "extents: X " << number(s.ExtentMinX) << " .. " << number(s.ExtentMaxX) << ", Y " << number(s.ExtentMinY)
            << " .. " << number(s.ExtentMaxY) << "\n";
    // The units as the file states them ($INSUNITS, the IGES global section).
    const std::string& units = control.LastLoadReport().Units;
    out << "units: " << (units.empty() ? QStringLiteral("not stated") : QString::fromStdString(units)) << "\n";

    QStringList views;
    for (int v = s.ArcViews.low(); v <= s.ArcViews.high(); ++v)
        if (s.ArcViews[v].Defined)
            views << QString::number(v);
    out << "arc views: " << views.join(QLatin1String(", ")) << "\n";

    // What the reader took and left out, per entity kind of the file.
    QStringList read, skipped;
    for (const TLoadCount& k : control.LastLoadReport().Kinds) {
        const QString kind = QString::fromStdString(k.Kind);
        if (k.Read > 0)
            read << kind + QLatin1Char(' ') + QString::number(k.Read);
        if (k.Skipped > 0)
            skipped << kind + QLatin1Char(' ') + QString::number(k.Skipped);
    }
    out << "import: " << (mode == imFull ? "full" : "basic") << "\n";
    out << "read: " << (read.isEmpty() ? QStringLiteral("nothing") : read.join(QLatin1String(", "))) << "\n";
    out << "skipped: " << (skipped.isEmpty() ? QStringLiteral("nothing") : skipped.join(QLatin1String(", "))) << "\n";
    // Entities read into blocks give elements only where an insert places them.
    if (const int unplaced = control.LastLoadReport().UnplacedBlockEntities; unplaced > 0)
        out << "note: " << unplaced << (unplaced == 1 ? " entity lies" : " entities lie")
            << " in block definitions that nothing inserts\n";
    for (const std::string& line : control.LastLoadReport().Notes)
        out << "note: " << QString::fromStdString(line) << "\n";
}

} // namespace

void info_command(const QStringList& args)
{
    const Arguments a = parse_arguments(QStringLiteral("info"), args, {{"--from", "--import", "--iso-lines"}, {}});
    QTextStream out(stdout);
    if (a.help) {
        out << help_text(QStringLiteral("info"));
        return;
    }
    if (a.files.isEmpty())
        throw ToolError("info needs at least one FILE (see orvex info --help)");
    // Every argument is checked before anything is read.
    const TImportMode mode = import_mode(a.value("--import"));
    std::vector<DrawingFormat> formats;
    for (const QString& file : a.files)
        formats.push_back(drawing_format(file, a.value("--from")));
    for (int i = 0; i < a.files.size(); ++i) {
        if (i > 0)
            out << "\n";
        describe(out, a.files[i], formats[std::size_t(i)], mode, iso_lines(a.value("--iso-lines")));
        out.flush();
    }
}

} // namespace orvex::tool
