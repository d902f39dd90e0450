#include "DemoApplication.h"

#include <QMessageBox>

namespace orvex::demo {

TDemoApplication::TDemoApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // No display name: the window system would add it to every window title.
    setApplicationName(QStringLiteral("OrvexGDIDemo"));
}

bool TDemoApplication::notify(QObject* Receiver, QEvent* Event)
{
    try {
        return QApplication::notify(Receiver, Event);
    } catch (const std::exception& error) {
        ShowException(error);
    }
    return false;
}

void TDemoApplication::ShowException(const std::exception& Error)
{
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), QString::fromUtf8(Error.what()),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setObjectName(QStringLiteral("ExceptionMessage"));
    box.exec();
}

void RunCommand(const std::function<void()>& Command)
{
    try {
        Command();
    } catch (const std::exception& error) {
        TDemoApplication::ShowException(error);
    }
}

} // namespace orvex::demo
