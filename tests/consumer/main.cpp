// Embeds a drawing control, adds a line and checks it is there.
#include <OrvexGDI/QOrvexGDI.h>

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    orvex::TOrvexGDI drawing;
    drawing.resize(400, 300);

    orvex::TElement& line = drawing.Elements->Add();
    line.SetEtype(orvex::etLine);
    line.SetCoord(4, 10.0);
    line.SetCoord(5, 5.0);
    drawing.Redraw();

    const bool ok = drawing.Elements->Count() == 1 && drawing.GetVersion() == QLatin1String("2.1");
    return ok ? 0 : 1;
}
