#include "arguments.h"
#include "commands.h"
#include "drawing_files.h"
#include "tool_error.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QColor>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRectF>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <functional>

namespace orvex::tool {

namespace {

enum class Output { Png, Bmp, Gif, Jpeg, Svg, Pdf };

constexpr int kMaxSide = 16384;
// Qt maps a PNG quality q to zlib level (100 - q) * 9 / 91: 85 gives level 1.
constexpr int kPngQuality = 85;

std::string text(const QString& s) { return s.toStdString(); }

Output output_kind(const QString& file)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    static const std::pair<const char*, Output> kinds[] = {
        {"png", Output::Png},   {"bmp", Output::Bmp}, {"gif", Output::Gif}, {"jpg", Output::Jpeg},
        {"jpeg", Output::Jpeg}, {"svg", Output::Svg}, {"pdf", Output::Pdf},
    };
    for (const auto& [name, kind] : kinds)
        if (suffix == QLatin1String(name))
            return kind;
    throw ToolError(text(file) + ": unknown extension '" + (suffix.isEmpty() ? "" : ".") + text(suffix) +
                    "' (use .png, .bmp, .gif, .jpg, .svg or .pdf)");
}

QSize picture_size(const QString& value)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^(\\d{1,6})x(\\d{1,6})$")).match(value);
    const QSize size = m.hasMatch() ? QSize(m.captured(1).toInt(), m.captured(2).toInt()) : QSize();
    if (!m.hasMatch() || size.width() < 1 || size.height() < 1 || size.width() > kMaxSide || size.height() > kMaxSide)
        throw ToolError("invalid --size '" + text(value) + "' (use WxH with sides 1.." + std::to_string(kMaxSide) +
                        ", e.g. 1200x900)");
    return size;
}

TDView named_view(const QString& value)
{
    static const std::pair<const char*, TDView> views[] = {
        {"top", vTOP}, {"front", vFRONT}, {"side", vSIDE}, {"iso", vISO}};
    for (const auto& [name, view] : views)
        if (value.toLower() == QLatin1String(name))
            return view;
    throw ToolError("invalid --view '" + text(value) + "' (use top, front, side or iso)");
}

void rotation(const QString& value, double angles[3])
{
    const QStringList parts = value.split(QLatin1Char(','));
    bool ok = parts.size() == 3;
    for (int i = 0; ok && i < 3; ++i) {
        angles[i] = parts[i].trimmed().toDouble(&ok);
        ok = ok && std::isfinite(angles[i]);
    }
    if (!ok)
        throw ToolError("invalid --rotate '" + text(value) + "' (use three angles in degrees, e.g. -70,0,-20)");
}

// A model window X0,Y0,X1,Y1 of the top view, shown in place of the fit.
QRectF model_window(const QString& value)
{
    const QStringList parts = value.split(QLatin1Char(','));
    double v[4] = {0, 0, 0, 0};
    bool ok = parts.size() == 4;
    for (int i = 0; ok && i < 4; ++i) {
        v[i] = parts[i].trimmed().toDouble(&ok);
        ok = ok && std::isfinite(v[i]);
    }
    if (!ok || v[2] == v[0] || v[3] == v[1])
        throw ToolError("invalid --window '" + text(value) +
                        "' (use X0,Y0,X1,Y1, two opposite corners of a model window, e.g. 0,0,400,300)");
    return QRectF(QPointF(v[0], v[1]), QPointF(v[2], v[3])).normalized();
}

// Shows the whole window, centred: its height fills the picture's, or its
// width the picture's when it is the wider of the two.
void show_window(TOrvexGDI& control, const QRectF& window, QSize size)
{
    const double height = std::max(window.height(), window.width() * size.height() / size.width());
    control.SetViewSize(height);
    control.ViewCenter(window.center().x(), window.center().y());
}

TColor background(const QString& value)
{
    const QColor colour = QColor::isValidColor(value) ? QColor(value) : QColor();
    if (!colour.isValid())
        throw ToolError("invalid --background '" + text(value) + "' (use #rrggbb or a colour name)");
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

// Writes through a QSaveFile, so an existing OUT is replaced only by a complete file.
void save_with(const QString& file, const std::function<bool(QIODevice&)>& write)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        throw ToolError(text(file) + ": cannot be written (" + text(out.errorString()) + ")");
    if (!write(out) || !out.commit())
        throw ToolError(text(file) + ": cannot be written (" + text(out.errorString()) + ")");
}

void write_picture(TOrvexGDI& control, const QString& file, Output kind, QSize size)
{
    try {
        switch (kind) {
        case Output::Bmp:
            control.SaveBMP(file);
            return;
        case Output::Gif:
            control.SaveGIF(file);
            return;
        case Output::Jpeg:
            control.SaveJPEG(file);
            return;
        default:
            break;
        }
    } catch (const std::exception& e) {
        // The library's message names the file and the reason already.
        const std::string message = e.what();
        if (message.find(text(file)) != std::string::npos)
            throw ToolError(message);
        throw ToolError(text(file) + ": cannot be written (" + message + ")");
    }

    save_with(file, [&](QIODevice& device) {
        if (kind == Output::Png) {
            // ZoomAll has drawn the control's own picture at this size
            // already, as the BMP, GIF and JPEG files take it; drawing
            // again would cost as much as the first time.
            const QImage* drawn = control.GetBitmap();
            QImage image;
            if (drawn != nullptr && drawn->size() == size && drawn->devicePixelRatio() == 1.0) {
                image = *drawn;
            } else {
                image = QImage(size, QImage::Format_RGB32);
                QPainter painter(&image);
                control.redraw2(painter, size.width(), size.height());
            }
            // zlib's fastest level: drawings are large flat areas that
            // squeeze well anyway, and the default level costs more time
            // than the drawing itself. PNG stays lossless at every level.
            QImageWriter writer(&device, "PNG");
            writer.setQuality(kPngQuality);
            return writer.write(image);
        }
        if (kind == Output::Svg) {
            QSvgGenerator svg;
            svg.setOutputDevice(&device);
            svg.setSize(size);
            svg.setViewBox(QRect(QPoint(0, 0), size));
            svg.setTitle(QFileInfo(file).completeBaseName());
            QPainter painter(&svg);
            control.redraw2(painter, size.width(), size.height());
            return painter.end();
        }
        // PDF: one page of the picture's size at 96 pixels per inch.
        QPdfWriter pdf(&device);
        pdf.setResolution(96);
        pdf.setPageSize(QPageSize(QSizeF(size.width() * 72.0 / 96, size.height() * 72.0 / 96), QPageSize::Point,
                                  QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&pdf);
        control.redraw2(painter, size.width(), size.height());
        return painter.end();
    });
}

} // namespace

void render_command(const QStringList& args)
{
    const OptionSpec spec{
        {"--size", "--view", "--rotate", "--window", "--background", "--from", "--import", "--iso-lines"}, {"--aa"}};
    const Arguments a = parse_arguments(QStringLiteral("render"), args, spec);
    if (a.help) {
        QTextStream(stdout) << help_text(QStringLiteral("render"));
        return;
    }
    if (a.files.size() != 2)
        throw ToolError("render needs IN and OUT (see orvex render --help)");
    if (a.has("--view") && a.has("--rotate"))
        throw ToolError("--view and --rotate exclude each other (see orvex render --help)");
    if (a.has("--window") && (a.has("--rotate") || a.has("--view")))
        throw ToolError("--window shows the top view; it excludes --view and --rotate (see orvex render --help)");
    const QString& in = a.files[0];
    const QString& out = a.files[1];
    // Every argument is checked before the drawing is read.
    const DrawingFormat from = drawing_format(in, a.value("--from"));
    const Output kind = output_kind(out);
    const QSize size = picture_size(a.value("--size", QStringLiteral("1200x900")));
    const TDView view = named_view(a.value("--view", QStringLiteral("top")));
    double angles[3] = {0, 0, 0};
    if (a.has("--rotate"))
        rotation(a.value("--rotate"), angles);
    const QRectF window = a.has("--window") ? model_window(a.value("--window")) : QRectF();
    const TColor colour = background(a.value("--background", QStringLiteral("black")));
    const TImportMode mode = import_mode(a.value("--import"));

    TOrvexGDI control;
    control.resize(size);
    // The readers choose colours that stand out from the background.
    control.SetBackgroundColor(colour);
    load_drawing(control, in, from, mode, iso_lines(a.value("--iso-lines")));
    control.SetAntiAlias(a.has("--aa"));
    if (a.has("--rotate"))
        control.RotateView(angles[0], angles[1], angles[2]);
    else
        control.SetView(view);
    control.ZoomAll();
    if (a.has("--window"))
        show_window(control, window, size);
    write_picture(control, out, kind, size);
}

} // namespace orvex::tool
