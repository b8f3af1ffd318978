#pragma once

#include <QApplication>
#include <QString>

#include <functional>

// The application object and the one way failures reach the user: every
// exception that escapes an event handler is shown in a message box and the
// program goes on.
namespace kov {

/// Shows a failure's message. The default is a modal error box; tests may
/// install their own to record messages instead.
using TExceptionPresenter = std::function<void(const QString &message)>;

/// Installs a presenter; an empty one restores the message box.
void SetExceptionPresenter(TExceptionPresenter presenter);

/// Shows the message of the exception being handled. Call only from a catch
/// block; kov exceptions show their message, others their what() text.
void ShowCurrentException();

/// Runs a handler, showing the message of anything it throws.
template <typename Handler> void RunGuarded(Handler &&handler)
{
    try {
        handler();
    } catch (...) {
        ShowCurrentException();
    }
}

/// QApplication that catches every exception reaching the event loop.
class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace kov
