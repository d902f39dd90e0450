// The version a drawing file declares, read from its header: $ACADVER of a
// DXF header section, the version flag (parameter 23) of an IGES global section.
#include "drawing_files.h"

#include <QFile>
#include <QTextStream>

#include <map>

namespace orvex::tool {

namespace {

QString dxf_version(QTextStream& in)
{
    static const std::map<QString, QString> releases = {
        {"AC1006", "R10"},  {"AC1009", "R11/R12"}, {"AC1012", "R13"},  {"AC1014", "R14"},  {"AC1015", "2000"},
        {"AC1018", "2004"}, {"AC1021", "2007"},    {"AC1024", "2010"}, {"AC1027", "2013"}, {"AC1032", "2018"},
    };
    // Group code and value lines alternate; the header comes before the entities.
    for (int pair = 0; pair < 100000 && !in.atEnd(); ++pair) {
        const QString code = in.readLine().trimmed();
        const QString value = in.readLine().trimmed();
        if (code == QLatin1String("2") && value == QLatin1String("ENTITIES"))
            break;
        if (code == QLatin1String("9") && value == QLatin1String("$ACADVER")) {
            in.readLine();
            const QString version = in.readLine().trimmed();
            const auto it = releases.find(version);
            return it == releases.end() ? version : version + " (" + it->second + ")";
        }
    }
    return {};
}

// The parameters of an IGES global section: the first two give the
// parameter and record delimiters; strings are Hollerith (nH...).
QStringList iges_global_parameters(const QString& section)
{
    QChar delimiter = QLatin1Char(','), end = QLatin1Char(';');
    QStringList parameters;
    int i = 0;
    while (i < section.size()) {
        QString field;
        int digits = i;
        while (digits < section.size() && section[digits].isDigit())
            ++digits;
        if (digits > i && digits < section.size() && section[digits] == QLatin1Char('H')) {
            const int length = section.mid(i, digits - i).toInt();
            field = section.mid(digits + 1, length);
            i = digits + 1 + length;
            while (i < section.size() && section[i] != delimiter && section[i] != end)
                ++i;
        } else {
            while (i < section.size() && section[i] != delimiter && section[i] != end)
                field += section[i++];
        }
        parameters << field.trimmed();
        if (parameters.size() == 1 && !field.isEmpty())
            delimiter = field[0];
        if (parameters.size() == 2 && !field.isEmpty())
            end = field[0];
        if (i >= section.size() || section[i] == end)
            break;
        ++i;
    }
    return parameters;
}

QString iges_version(QTextStream& in)
{
    static const char* const flags[] = {
        "",
        "1.0",
        "ANSI Y14.26M-1981",
        "2.0",
        "3.0",
        "ASME/ANSI Y14.26M-1987",
        "4.0",
        "ASME Y14.26M-1989",
        "5.0",
        "5.1",
        "5.2",
        "5.3",
        "5.3",
    };
    QString global;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.size() < 73)
            continue;
        if (line[72] == QLatin1Char('G'))
            global += line.left(72);
        else if (line[72] != QLatin1Char('S'))
            break;
    }
    const QStringList parameters = iges_global_parameters(global);
    if (parameters.size() < 23)
        return {};
    bool ok = false;
    const int flag = parameters[22].toInt(&ok);
    if (!ok || flag < 1 || flag >= int(std::size(flags)))
        return parameters[22].isEmpty() ? QString() : QStringLiteral("flag ") + parameters[22];
    return QString::fromLatin1(flags[flag]) + QStringLiteral(" (flag %1)").arg(flag);
}

} // namespace

QString file_version(const QString& file, DrawingFormat format)
{
    QFile f(file);
    if (format == DrawingFormat::Ovx || !f.open(QIODevice::ReadOnly))
        return {};
    QTextStream in(&f);
    return format == DrawingFormat::Dxf ? dxf_version(in) : iges_version(in);
}

} // namespace orvex::tool
