// OrvexGDIDemo: the demonstration program of the OrvexGDI components.
//
// Started with a file name, it also loads a drawing (the second argument,
// or the bundled sample), saves a picture of its window under that name
// once the drawing is shown, and quits: the launcher's screenshot on
// machines without a display.
#include "DemoApplication.h"
#include "DemoFileDialog.h"
#include "DemoWindows.h"

#include <QTimer>

#include <cstdio>

namespace {
// Long enough for the control's start-up repaint (one second) to have run.
constexpr int kScreenshotDelayMs = 1500;

void take_screenshot_and_quit(orvex::demo::TForm1& window, const QString& shot, const QString& drawing)
{
    QTimer::singleShot(0, &window, [&window, drawing] {
        orvex::demo::RunCommand([&] {
            window.OrvexGDI1->SetCadType(orvex::demo::CadTypeOfFile(drawing));
            window.OrvexGDI1->LoadFromFile(drawing);
            window.OrvexGDI1->ZoomAll();
        });
    });
    QTimer::singleShot(kScreenshotDelayMs, &window, [&window, shot] {
        if (!window.grab().save(shot)) {
            std::fprintf(stderr, "OrvexGDIDemo: cannot write the screenshot %s\n", qPrintable(shot));
            QApplication::exit(1);
            return;
        }
        QApplication::quit();
    });
}
} // namespace

int main(int argc, char** argv)
{
    orvex::demo::TDemoApplication app(argc, argv);
    orvex::demo::TDemoWindows windows;
    windows.Form1.show();
    if (argc > 1) {
        const QString drawing = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(ORVEX_SAMPLE_DRAWING);
        take_screenshot_and_quit(windows.Form1, QString::fromLocal8Bit(argv[1]), drawing);
    }
    return app.exec();
}
