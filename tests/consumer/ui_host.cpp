// A window made from a .ui file holding the drawing control, as Designer
// saves it; checks that every property the form sets reached the control.
// With a plugin path argument it also loads the installed Designer plugin.
#include "ui_host_window.h"

#include <QApplication>
#include <QPluginLoader>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    Ui::HostWindow form;
    form.setupUi(&window);

    const orvex::TOrvexGDI& c = *form.OrvexGDI1;
    const bool ok = c.GetBackgroundColor() == 0xFFFFFF && c.GetCurrentColor() == 0x0000FF &&
                    c.GetView() == orvex::vSIDE && c.GetLineType() == 2 && c.GetPickFilter() == orvex::fLineArc &&
                    c.GetCurrentLayer() == 7 && c.GetCadType() == 2 && c.GetImportMode() == orvex::imFull &&
                    c.GetUnits() == orvex::uMM && !c.GetMousePan() && c.GetAntiAlias() && !c.GetTransparent();
    if (!ok) {
        std::fprintf(stderr, "a property of the form did not reach the control\n");
        return 1;
    }
    if (argc > 1) {
        QPluginLoader plugin(QString::fromLocal8Bit(argv[1]));
        if (plugin.instance() == nullptr) {
            std::fprintf(stderr, "the installed plugin does not load: %s\n", qPrintable(plugin.errorString()));
            return 1;
        }
    }
    return 0;
}
