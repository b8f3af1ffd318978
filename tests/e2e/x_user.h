#pragma once

#include <QCoreApplication>
#include <QMetaObject>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <ostream>
#include <type_traits>

class QWidget;

// Readable failure messages for the Qt values the tests compare.
inline void PrintTo(const QRect &r, std::ostream *os)
{
    *os << r.width() << "x" << r.height() << " at " << r.x() << "," << r.y();
}
inline void PrintTo(const QPoint &p, std::ostream *os)
{
    *os << p.x() << "," << p.y();
}
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList &list, std::ostream *os)
{
    *os << "{";
    for (const QString &s : list)
        *os << " \"" << s.toStdString() << '"';
    *os << " }";
}

// A user at a real X display. The end-to-end tests play the user on a thread
// of their own, with real mouse and keyboard input injected through the X
// server (xdotool, XTEST), while the program's thread runs its event loop,
// modal dialogs included. The user looks at the program only between actions,
// through calls run on the program's thread, and waits for what an action
// should bring about instead of sleeping.
namespace kov::test {

/// How long a shown window may take to be exposed: on a busy machine a sanitizer
/// build under a window manager can take longer than Qt's default 5 s.
constexpr int ExposeTimeoutMs = 20000;

/// Geometry of an X window as the X server reports it.
struct TXWindow
{
    /// The window itself (for a top-level window: its client area).
    QRect Client;
    /// The window with the frame its window manager put round it (equal to
    /// Client without a window manager).
    QRect Outer;
};

class TXUser
{
public:
    /// Runs f on the program's thread and returns its result.
    template <typename F> static auto Gui(F f) -> decltype(f())
    {
        using R = decltype(f());
        if constexpr (std::is_void_v<R>) {
            QMetaObject::invokeMethod(qApp, f, Qt::BlockingQueuedConnection);
        } else {
            R result{};
            QMetaObject::invokeMethod(
                qApp, [&] { result = f(); }, Qt::BlockingQueuedConnection);
            return result;
        }
    }

    /// Waits until condition (run on the program's thread) holds. Fails the
    /// test with what, and returns false, when it does not within timeoutMs.
    bool WaitFor(const std::function<bool()> &condition, const std::string &what,
                 int timeoutMs = 20000);
    /// The same with a condition that runs on the user's thread (one that
    /// looks at the X server, say).
    bool Poll(const std::function<bool()> &condition, const std::string &what,
              int timeoutMs = 20000);
    /// The scenario has been called off (it ran out of time): stop acting.
    bool Aborted() const { return m_aborted; }
    void Abort() { m_aborted = true; }

    // ---- looking ---------------------------------------------------------------
    /// Where the X server has the window of a top-level widget.
    TXWindow WindowOf(QWidget *topLevel);
    /// Screen position of a point given in a widget's own coordinates, from
    /// the X server's geometry of its window and the widget's place in it.
    QPoint OnScreen(QWidget *widget, QPoint local);
    QPoint CentreOf(QWidget *widget);
    /// Whether a window manager runs on the display.
    bool WindowManagerRuns();

    // ---- acting ----------------------------------------------------------------
    void MoveTo(QPoint screen);
    void Click(QPoint screen, int button = 1);
    void Press(int button);
    void Release(int button);
    /// Types text into whatever has the keyboard focus.
    void Type(const QString &text);
    /// Presses and releases a key combination such as "Return" or "ctrl+a".
    void Key(const QString &keys);

    /// Runs a command of the X tools; fails the test and returns an empty
    /// text when it fails or does not finish in time.
    QString Run(const QString &program, const QStringList &args);

private:
    std::atomic<bool> m_aborted{false};
};

/// A window manager (openbox) on the display for as long as the object lives.
/// Start it before the windows it should frame are shown.
class TWindowManager
{
public:
    TWindowManager();
    ~TWindowManager();
    TWindowManager(const TWindowManager &) = delete;
    TWindowManager &operator=(const TWindowManager &) = delete;

    /// Whether it took the display and maps windows (within a generous time).
    bool Running() const { return m_running; }

private:
    QProcess m_process;
    bool m_running = false;
};

/// Plays scenario on a user thread while this (the program's) thread runs
/// the event loop, until the scenario ends or timeoutMs passes. Whatever
/// modal window or popup is still open at the end is closed, so a failing
/// scenario never leaves the program stuck in a dialog.
void PlayAsUser(const std::function<void(TXUser &)> &scenario, int timeoutMs = 180000);

} // namespace kov::test
