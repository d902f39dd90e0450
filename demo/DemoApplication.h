// The demonstration program's application object and its standard exception
// handling: an error that ends a command is shown in a message box naming
// it, and the program goes on.
#pragma once

#include <QApplication>

#include <exception>
#include <functional>

namespace orvex::demo {

class TDemoApplication : public QApplication {
public:
    TDemoApplication(int& argc, char** argv);

    /// Delivers the event; an exception that leaves its handler is shown by
    /// ShowException instead of ending the program.
    bool notify(QObject* Receiver, QEvent* Event) override;

    /// Shows the error's text in a modal message box over the active window.
    static void ShowException(const std::exception& Error);
};

/// Runs one command. An exception leaving it is shown by the standard
/// exception handling and goes no further: Qt's widget code, which the
/// command's signal came through, is not built to be unwound.
void RunCommand(const std::function<void()>& Command);

/// A slot for connect() that runs Handler on Owner through RunCommand,
/// whatever arguments the signal carries.
template <typename Owner>
auto Command(Owner* owner, void (Owner::*Handler)())
{
    return [owner, Handler](auto&&...) { RunCommand([owner, Handler] { (owner->*Handler)(); }); };
}

} // namespace orvex::demo
