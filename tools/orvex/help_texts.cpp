#include "arguments.h"

namespace orvex::tool {

QString help_text(const QString& command)
{
    if (command == QLatin1String("info"))
        return QStringLiteral("usage: orvex info [--from FORMAT] [--import MODE] FILE...\n"
                              "\n"
                              "Prints, for every drawing file: its format and version, the number of\n"
                              "elements of each type (lines: N, arcs: N, ...), the layers in use with\n"
                              "their names, the extents, the units the file states, the arc views the\n"
                              "drawing defines, what the import read and skipped per entity kind of\n"
                              "the file, and a note when entities lie only in block definitions that\n"
                              "nothing inserts.\n"
                              "\n"
                              "  --from FORMAT   read every FILE as ovx, dxf or iges, whatever its extension\n"
                              "  --import MODE   full (default) also reads what other CAD programs write\n"
                              "                  (blocks, polylines, splines, ...); basic reads only the\n"
                              "                  exchange subset the library writes\n"
                              "  --iso-lines N   iso-parameter lines per direction on each IGES surface\n"
                              "                  (0 to 10, default 0: boundaries only)\n");
    if (command == QLatin1String("convert"))
        return QStringLiteral("usage: orvex convert [--from FORMAT] [--to FORMAT] [--import MODE] IN OUT\n"
                              "\n"
                              "Reads the drawing IN and writes it to OUT. The formats follow the\n"
                              "extensions .ovx, .dxf, .igs and .iges (any case).\n"
                              "\n"
                              "  --from FORMAT   read IN as ovx, dxf or iges\n"
                              "  --to FORMAT     write OUT as ovx, dxf or iges\n"
                              "  --import MODE   full (default) also reads what other CAD programs write\n"
                              "                  (blocks, polylines, splines, ...); basic reads only the\n"
                              "                  exchange subset the library writes\n"
                              "  --iso-lines N   iso-parameter lines per direction on each IGES surface\n"
                              "                  (0 to 10, default 0: boundaries only)\n");
    if (command == QLatin1String("render"))
        return QStringLiteral("usage: orvex render [options] IN OUT\n"
                              "\n"
                              "Draws the drawing IN, fitted into the picture, into OUT: a .png, .bmp,\n"
                              ".gif or .jpg picture, or an .svg or .pdf vector drawing.\n"
                              "\n"
                              "  --size WxH          picture size in pixels (default 1200x900)\n"
                              "  --view VIEW         top, front, side or iso (default top)\n"
                              "  --rotate X,Y,Z      a freely rotated view, angles in degrees\n"
                              "  --window X0,Y0,X1,Y1  show this model window of the top view, centred,\n"
                              "                      in place of the whole drawing\n"
                              "  --aa                smooth (anti-aliased) lines\n"
                              "  --background COLOR  #rrggbb or a colour name (default black)\n"
                              "  --from FORMAT       read IN as ovx, dxf or iges\n"
                              "  --import MODE       full (default) or basic, as for orvex info\n"
                              "  --iso-lines N       iso-parameter lines per direction on each IGES surface\n"
                              "                      (0 to 10, default 0: boundaries only)\n");
    return QStringLiteral("usage: orvex COMMAND [options] FILE...\n"
                          "\n"
                          "Looks at, converts and renders OVX, DXF and IGES drawings.\n"
                          "\n"
                          "commands:\n"
                          "  info FILE...      format, element counts, layers, extents, units, arc views\n"
                          "  convert IN OUT    OVX, DXF and IGES into each other\n"
                          "  render IN OUT     a picture (.png .bmp .gif .jpg) or vector drawing (.svg .pdf)\n"
                          "\n"
                          "orvex COMMAND --help describes a command. Exit status: 0 on success, 1 on\n"
                          "failure with one line on stderr naming the file and the reason; a file\n"
                          "that no reader recognises fails with \"FILE: no drawing found (...)\".\n");
}

} // namespace orvex::tool
