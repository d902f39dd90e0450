// Whether a file holds a drawing a reader recognises, told from its content
// before it is read: a DXF section or entity (or the binary sentinel), IGES
// 80-column records, or an OVX record. Text that is none of these reads as
// an empty drawing, which would hide a wrong or damaged file.
#include "drawing_files.h"

#include <QFile>

#include <array>
#include <string>
#include <string_view>

namespace orvex::tool {

namespace {

constexpr qint64 kMaxLine = 1 << 16;

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Hands the file's lines to `see` until it returns true (found); false when
// no line satisfied it. Lines end as the readers end them: CR LF, LF or a
// lone CR. A line longer than kMaxLine is handed out in parts.
template <typename See>
bool any_line(const QString& file, See&& see)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    std::string line;
    bool afterCR = false;
    char chunk[1 << 16];
    qint64 got;
    while ((got = in.read(chunk, sizeof chunk)) > 0) {
        for (qint64 i = 0; i < got; ++i) {
            const char c = chunk[i];
            if (c == '\n' && afterCR) {
                afterCR = false;
                continue;
            }
            afterCR = c == '\r';
            if (c == '\n' || c == '\r' || qint64(line.size()) == kMaxLine) {
                if (see(std::string_view(line)))
                    return true;
                line.clear();
                if (c == '\n' || c == '\r')
                    continue;
            }
            line.push_back(c);
        }
    }
    return !line.empty() && see(std::string_view(line));
}

bool binary_dxf(const QString& file)
{
    static constexpr char kSentinel[] = "AutoCAD Binary DXF\r\n\x1a";
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = in.read(sizeof kSentinel - 1);
    return head == QByteArray(kSentinel, sizeof kSentinel - 1);
}

// A pair of code 0 (on the pair's code line) that opens a section or an
// entity the readers draw.
bool dxf_content(const QString& file)
{
    if (binary_dxf(file))
        return true;
    static constexpr std::array<std::string_view, 12> kNames = {"SECTION", "EOF",    "POINT",    "LINE",
                                                                "ARC",     "CIRCLE", "POLYLINE", "LWPOLYLINE",
                                                                "INSERT",  "SPLINE", "ELLIPSE",  "3DFACE"};
    long long number = 0;
    bool zeroCode = false;
    return any_line(file, [&](std::string_view line) {
        const std::string_view t = trimmed(line);
        const bool codeLine = number++ % 2 == 0;
        if (codeLine) {
            zeroCode = t == "0";
            return false;
        }
        if (!zeroCode)
            return false;
        for (std::string_view name : kNames)
            if (t == name)
                return true;
        return false;
    });
}

// The first line that is not blank is an IGES record: a section letter in
// column 73 and a sequence number in columns 74 to 80.
bool iges_content(const QString& file)
{
    bool decided = false, record = false;
    any_line(file, [&](std::string_view line) {
        const std::string_view t = trimmed(line);
        if (t.empty())
            return false;
        decided = true;
        const std::string_view r = line;
        if (r.size() >= 80) {
            const char letter = r[72];
            record = letter == 'S' || letter == 'G' || letter == 'D' || letter == 'P' || letter == 'T';
            for (std::size_t i = 73; record && i < 80; ++i)
                record = (r[i] >= '0' && r[i] <= '9') || r[i] == ' ';
        }
        return true;
    });
    return decided && record;
}

// A line that starts with a keyword of an OVX record.
bool ovx_content(const QString& file)
{
    static constexpr std::array<std::string_view, 8> kKeywords = {"VIEW", "SPLINE", "VLINE",  "LINE",
                                                                  "ARC",  "CIRCLE", "VPOINT", "POINT"};
    return any_line(file, [&](std::string_view line) {
        const std::string_view t = trimmed(line);
        std::size_t n = 0;
        while (n < t.size() && t[n] >= 'A' && t[n] <= 'Z')
            ++n;
        if (n < t.size() && t[n] != ' ' && t[n] != ',' && t[n] != '\t')
            return false;
        for (std::string_view k : kKeywords)
            if (t.substr(0, n) == k)
                return true;
        return false;
    });
}

bool holds(const QString& file, DrawingFormat format)
{
    switch (format) {
    case DrawingFormat::Dxf:
        return dxf_content(file);
    case DrawingFormat::Iges:
        return iges_content(file);
    default:
        return ovx_content(file);
    }
}

bool blank(const QString& file)
{
    return !any_line(file, [](std::string_view line) { return !trimmed(line).empty(); });
}

} // namespace

QString missing_drawing(const QString& file, DrawingFormat format)
{
    if (QFile(file).size() == 0)
        return QStringLiteral("empty file");
    if (holds(file, format))
        return {};
    if (blank(file))
        return QStringLiteral("only blank lines");
    static const char* const kWhat[] = {"", "OVX records", "DXF sections or entities", "IGES records"};
    QString reason = QStringLiteral("no ") + QLatin1String(kWhat[static_cast<int>(format)]);
    // A file of another format under this one's extension: say which.
    for (DrawingFormat other : {DrawingFormat::Dxf, DrawingFormat::Iges, DrawingFormat::Ovx})
        if (other != format && holds(file, other))
            return reason + QStringLiteral("; it reads as ") + QLatin1String(format_name(other)) +
                   QStringLiteral(" (use --from ") + QString::fromLatin1(format_name(other)).toLower() +
                   QLatin1Char(')');
    return reason;
}

} // namespace orvex::tool
