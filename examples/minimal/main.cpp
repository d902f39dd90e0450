// The smallest host: one window with one drawing control showing a few
// elements. With a file name argument it saves a screenshot there and exits.
#include <OrvexGDI/QOrvexGDI.h>

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);

    orvex::TOrvexGDI drawing;
    drawing.setWindowTitle(QStringLiteral("OrvexGDI minimal host"));
    drawing.resize(800, 600);
    drawing.SetBackgroundColor(0x202020);
    drawing.show();

    if (argc > 1) {
        const QString shot = QString::fromLocal8Bit(argv[1]);
        QTimer::singleShot(1500, &drawing, [&drawing, shot] {
            drawing.grab().save(shot);
            QApplication::quit();
        });
    }
    return app.exec();
}
