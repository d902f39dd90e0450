// The smallest host: one window with one drawing control showing a few
// elements. With a file name argument it saves a screenshot there and exits.
#include <OrvexGDI/QOrvexGDI.h>

#include <QApplication>
#include <QTimer>

namespace {
// A small bracket: outline, a bolt hole with its centre mark, a filled boss.
void draw_bracket(orvex::TOrvexGDI& drawing)
{
    drawing.SetCurrentColor(0x00FF00); // green outline
    drawing.MakeLine(0, 0, 0, 80, 0, 0);
    drawing.MakeLine(80, 0, 0, 80, 30, 0);
    drawing.MakeArc(1, 60, 30, 0, 20, 0, 90);
    drawing.MakeLine(60, 50, 0, 0, 50, 0);
    drawing.MakeLine(0, 50, 0, 0, 0, 0);

    drawing.SetCurrentColor(0x00FFFF); // yellow hole and centre mark
    drawing.MakeCircle(1, 20, 25, 0, 8);
    drawing.MakePoint(20, 25, 0);

    drawing.SetCurrentColor(0xFF0000); // blue filled boss
    drawing.MakeCircle(100, 60, 30, 0, 6);
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);

    orvex::TOrvexGDI drawing;
    drawing.setWindowTitle(QStringLiteral("OrvexGDI minimal host"));
    drawing.resize(800, 600);
    drawing.SetBackgroundColor(0x202020);
    draw_bracket(drawing);
    drawing.show();

    // Fit the drawing into the window once it has its size; the fit measures
    // with the current scale, so it runs twice.
    QTimer::singleShot(0, &drawing, [&drawing] {
        drawing.SetExtents();
        drawing.set_scale(0);
        drawing.set_scale(0);
        drawing.Redraw();
    });

    if (argc > 1) {
        const QString shot = QString::fromLocal8Bit(argv[1]);
        QTimer::singleShot(1500, &drawing, [&drawing, shot] {
            drawing.grab().save(shot);
            QApplication::quit();
        });
    }
    return app.exec();
}
