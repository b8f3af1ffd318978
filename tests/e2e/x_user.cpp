#include "e2e/x_user.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <thread>

namespace kov::test {

namespace {

/// One X tool call may take this long before the test gives up on it.
constexpr int kToolTimeoutMs = 15000;

int FieldOf(const QString &report, const QString &label)
{
    const QRegularExpression pattern(QRegularExpression::escape(label) +
                                     QStringLiteral(":\\s*(-?\\d+)"));
    const QRegularExpressionMatch m = pattern.match(report);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

/// Closes whatever popup or modal window is open, innermost first.
void CloseOpenWindows()
{
    for (int guard = 0; guard < 16; ++guard) {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            popup->close();
            continue;
        }
        if (QWidget *modal = QApplication::activeModalWidget()) {
            modal->close();
            continue;
        }
        break;
    }
}

} // namespace

bool TXUser::WaitFor(const std::function<bool()> &condition, const std::string &what, int timeoutMs)
{
    return Poll([&condition] { return Gui(condition); }, what, timeoutMs);
}

bool TXUser::Poll(const std::function<bool()> &condition, const std::string &what, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!m_aborted) {
        if (condition())
            return true;
        if (clock.elapsed() > timeoutMs)
            break;
        QThread::msleep(20);
    }
    ADD_FAILURE() << "waited in vain for: " << what;
    return false;
}

QString TXUser::Run(const QString &program, const QStringList &args)
{
    if (m_aborted)
        return QString();
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << program.toStdString() << " " << args.join(' ').toStdString()
                      << ": did not finish";
        return QString();
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " " << args.join(' ').toStdString()
                      << ": failed: " << process.readAllStandardError().toStdString();
        return QString();
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

TXWindow TXUser::WindowOf(QWidget *topLevel)
{
    const WId id = Gui([topLevel] { return topLevel->winId(); });
    const QString idText = QString::number(id);
    const QString info = Run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), idText});
    TXWindow w;
    w.Client =
        QRect(FieldOf(info, QStringLiteral("Absolute upper-left X")),
              FieldOf(info, QStringLiteral("Absolute upper-left Y")),
              FieldOf(info, QStringLiteral("Width")), FieldOf(info, QStringLiteral("Height")));
    w.Outer = w.Client;
    // The window manager states its frame's widths (left, right, top, bottom).
    const QString extents =
        Run(QStringLiteral("xprop"), {QStringLiteral("-id"), idText, "_NET_FRAME_EXTENTS"});
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("=\\s*(\\d+),\\s*(\\d+),\\s*(\\d+),\\s*(\\d+)"))
            .match(extents);
    if (m.hasMatch())
        w.Outer = w.Client.adjusted(-m.captured(1).toInt(), -m.captured(3).toInt(),
                                    m.captured(2).toInt(), m.captured(4).toInt());
    return w;
}

QPoint TXUser::OnScreen(QWidget *widget, QPoint local)
{
    struct Place
    {
        QWidget *Window = nullptr;
        QPoint Offset;
    };
    const Place place = Gui([widget, local] {
        QWidget *window = widget->window();
        return Place{window, widget->mapTo(window, local)};
    });
    return WindowOf(place.Window).Client.topLeft() + place.Offset;
}

QPoint TXUser::CentreOf(QWidget *widget)
{
    return OnScreen(widget, Gui([widget] { return widget->rect().center(); }));
}

namespace {

/// A window manager announces itself on the root window.
bool HasWindowManager(const QString &rootProperty)
{
    return rootProperty.contains(QStringLiteral("window id"));
}

const QStringList kWindowManagerCheck{QStringLiteral("-root"),
                                      QStringLiteral("_NET_SUPPORTING_WM_CHECK")};

/// The window manager announces itself on the root window before it handles
/// map requests, and a window that asks to be mapped in between is never
/// managed: it stays unmapped and unframed. A probe window, shown again until
/// the window manager maps it, proves that it has started.
bool WindowManagerMapsWindows()
{
    QWidget probe;
    probe.setWindowTitle(QStringLiteral("window manager probe"));
    probe.resize(16, 16);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 2 * kToolTimeoutMs) {
        probe.show();
        if (QTest::qWaitForWindowExposed(&probe, 1000))
            return true;
        probe.hide();
    }
    return false;
}

} // namespace

bool TXUser::WindowManagerRuns()
{
    return HasWindowManager(Run(QStringLiteral("xprop"), kWindowManagerCheck));
}

TWindowManager::TWindowManager()
{
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!m_process.waitForStarted(kToolTimeoutMs))
        return;
    QElapsedTimer clock;
    clock.start();
    while (m_process.state() == QProcess::Running && clock.elapsed() < 2 * kToolTimeoutMs) {
        QProcess check;
        check.start(QStringLiteral("xprop"), kWindowManagerCheck);
        if (check.waitForFinished(kToolTimeoutMs) &&
            HasWindowManager(QString::fromLocal8Bit(check.readAllStandardOutput()))) {
            m_running = WindowManagerMapsWindows();
            return;
        }
        QThread::msleep(50);
    }
}

TWindowManager::~TWindowManager()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(kToolTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

void TXUser::MoveTo(QPoint screen)
{
    Run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--sync"),
                                    QString::number(screen.x()), QString::number(screen.y())});
}

void TXUser::Click(QPoint screen, int button)
{
    MoveTo(screen);
    Run(QStringLiteral("xdotool"), {QStringLiteral("click"), QString::number(button)});
}

void TXUser::Press(int button)
{
    Run(QStringLiteral("xdotool"), {QStringLiteral("mousedown"), QString::number(button)});
}

void TXUser::Release(int button)
{
    Run(QStringLiteral("xdotool"), {QStringLiteral("mouseup"), QString::number(button)});
}

void TXUser::Type(const QString &text)
{
    Run(QStringLiteral("xdotool"),
        {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("15"), "--", text});
}

void TXUser::Key(const QString &keys)
{
    Run(QStringLiteral("xdotool"), {QStringLiteral("key"), keys});
}

void PlayAsUser(const std::function<void(TXUser &)> &scenario, int timeoutMs)
{
    TXUser user;
    QEventLoop loop;
    std::thread player([&] {
        scenario(user);
        QMetaObject::invokeMethod(
            qApp,
            [&loop] {
                CloseOpenWindows();
                loop.quit();
            },
            Qt::QueuedConnection);
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&user] {
        ADD_FAILURE() << "the scenario did not finish in time";
        user.Abort();
        CloseOpenWindows();
    });
    deadline.start(timeoutMs);
    loop.exec();
    player.join();
}

} // namespace kov::test
