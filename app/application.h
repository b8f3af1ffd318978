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

/// Shows the message of the exception being handled once control is back in
/// the event loop. Call only from a catch block.
void ShowCurrentExceptionLater();

/// Runs a handler, showing the message of anything it throws.
template <typename Handler> void RunGuarded(Handler &&handler)
{
    try {
        handler();
    } catch (...) {
        ShowCurrentException();
    }
}

/// Runs a handler called from inside Qt's delivery of an input event (mouse
/// handlers, context menu requests). Anything it throws is caught here, as Qt
/// does not let exceptions unwind through its event delivery, and the message
/// is shown after the event, so no message box opens in the middle of it.
template <typename Handler> void RunGuardedInEvent(Handler &&handler)
{
    try {
        handler();
    } catch (...) {
        ShowCurrentExceptionLater();
    }
}

/// Name, version and desktop entry of the program; usable before the
/// application object exists.
void SetApplicationIdentity();

/// QApplication that catches every exception reaching the event loop. It
/// loads the toolkit's translations for the system locale, so the standard
/// dialogs and buttons speak the desktop's language.
class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace kov
