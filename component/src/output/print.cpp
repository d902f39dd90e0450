// Printing on the process-wide current printer: the drawing as vectors in the
// current view, or the off-screen picture stretched across the page.
#include "picture_source.h"
#include "print_layout.h"

#include "render/element_painter.h"
#include "view/view_math.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QCoreApplication>
#include <QFile>
#include <QPrinter>

namespace orvex {

namespace {

QPrinter* currentPrinter = nullptr;

void free_printer()
{
    delete currentPrinter;
    currentPrinter = nullptr;
}

QString printer_label(const QPrinter& printer)
{
    return printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
}

// Without CUPS printers Qt silently falls back to PDF output, which needs a
// file name; a print then could not go anywhere.
void require_printer(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty())
        throw EPrinterError("No printer is installed and no output file is set; choose a printer or set "
                            "TOrvexGDI::Printer().setOutputFileName()");
}

void begin_job(QPainter& canvas, QPrinter& printer)
{
    if (!canvas.begin(&printer))
        throw EPrinterError(
            QStringLiteral("The print job on \"%1\" cannot start").arg(printer_label(printer)).toStdString());
}

void end_job(QPainter& canvas, QPrinter& printer)
{
    if (!canvas.end())
        throw EPrinterError(
            QStringLiteral("The print job on \"%1\" could not be finished").arg(printer_label(printer)).toStdString());
}

// A job that failed half way: a printer cancels it; a file printer cannot,
// so the half-written file is removed.
void abort_job(QPainter& canvas, QPrinter& printer)
{
    if (printer.abort() || !canvas.isActive())
        return;
    canvas.end();
    if (!printer.outputFileName().isEmpty())
        QFile::remove(printer.outputFileName());
}

// The settings name the page as the output canvas for the length of a
// vector print, however it ends.
class PrintCanvas {
public:
    PrintCanvas(TSettings& s, QPainter& canvas) : s_(s) { s_.OutputCanvas = &canvas; }
    ~PrintCanvas() { s_.OutputCanvas = nullptr; }
    PrintCanvas(const PrintCanvas&) = delete;
    PrintCanvas& operator=(const PrintCanvas&) = delete;

private:
    TSettings& s_;
};

} // namespace

QPrinter& TOrvexGDI::Printer()
{
    if (currentPrinter == nullptr) {
        currentPrinter = new QPrinter(QPrinter::HighResolution);
        qAddPostRoutine(free_printer); // before the application's platform goes
    }
    return *currentPrinter;
}

void TOrvexGDI::PrintCad()
{
    require_printer(Printer());
    Settings->Printing = true;
    try {
        print_cad_proc(*Elements, width());
    } catch (...) {
        Settings->Printing = false;
        throw;
    }
    Settings->Printing = false;
}

void TOrvexGDI::PrintBMP()
{
    require_printer(Printer());
    print_bmp(GetCanvas(), width(), height());
}

void TOrvexGDI::print_cad_proc(const TElements& Elements, int Width)
{
    QPrinter& printer = Printer();
    const int pageWidth = printer.width();
    printer.setDocName(Settings->DrawingFileName);
    const int dpi = output::printer_dpi(pageWidth, printer.widthMM());
    // The control's width spans the printable width.
    const double f = static_cast<double>(pageWidth) / std::max(Width, 1);

    QPainter canvas;
    begin_job(canvas, printer);
    try {
        // The page shows the current view at the printer's finer scale; the
        // control's own zoom state is left as it is.
        view::set_coefficiants(*Settings);
        const view::Viewport page = view::Viewport::current(*Settings).scaled(f);
        canvas.setPen(QPen(Qt::black, output::print_pen_width(dpi)));
        canvas.setBrush(Qt::NoBrush);
        canvas.setFont(QFont(QStringLiteral("ARIAL"), 10));
        PrintCanvas named(*Settings, canvas);
        {
            ElementPainter painter(canvas, PaintTarget::Printer, page, *Settings);
            for (const TElement* e : Elements) {
                const int layer = e->GetLayer();
                if (!e->GetDeleted() && layer >= 0 && layer <= 254 && Settings->LayerVisible[layer])
                    painter.draw_element(*e);
            }
        }
        end_job(canvas, printer);
    } catch (...) {
        abort_job(canvas, printer);
        throw;
    }
}

void TOrvexGDI::print_element(int /*View*/, const TElement& Element)
{
    // Only element types 1 to 4 and 10 to 15 have figures (a fill edge
    // prints its whole region); the view number would decide for types 5 to
    // 8, which draw nothing.
    if (!Settings->Printing || Settings->OutputCanvas == nullptr)
        return;
    ElementPainter painter(*Settings->OutputCanvas, PaintTarget::Printer, view::Viewport::current(*Settings),
                           *Settings);
    painter.draw_element(Element);
}

void TOrvexGDI::print_bmp(QPainter* Graphics, int Width, int Height)
{
    QPrinter& printer = Printer();
    QImage bitmap = output::picture_of(Graphics, Width, Height);
    // A black background would print as a black page: it is printed inverted.
    if (Settings->BackgroundColor == 0) {
        bitmap = bitmap.convertToFormat(QImage::Format_RGB32);
        bitmap.invertPixels();
    }
    printer.setDocName(Settings->DrawingFileName);
    const int side = std::min(printer.width(), printer.height());
    const QRect target(0, 0, side, output::stretched_height(side, Width, Height));

    QPainter canvas;
    begin_job(canvas, printer);
    try {
        if (!bitmap.isNull())
            canvas.drawImage(target, bitmap);
        end_job(canvas, printer);
    } catch (...) {
        abort_job(canvas, printer);
        throw;
    }
}

void TOrvexGDI::set_print_color(TColor Colour, int /*LineType*/)
{
    if (!Settings->Printing || Settings->OutputCanvas == nullptr)
        return;
    QPen pen = Settings->OutputCanvas->pen();
    pen.setColor(Settings->PrintMonochrome ? QColor(Qt::black) : opaque_color(Colour));
    Settings->OutputCanvas->setPen(pen);
}

} // namespace orvex
