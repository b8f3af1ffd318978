// Linked into a program to measure its start-up: when the first top-level
// window has been exposed and painted, prints the time since the launcher's
// clock reading (KOV_PROBE_T0, wall-clock microseconds since the epoch, as
// bash's EPOCHREALTIME gives them), the processor time the process used
// until then (all threads) and the resident memory, then ends the process at
// once. The program itself is unchanged.
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

long long NowUs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return ts.tv_sec * 1000000LL + ts.tv_nsec / 1000;
}

long ResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

class ExposeProbe : public QObject
{
public:
    explicit ExposeProbe(QObject *parent) : QObject(parent) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_seen && event->type() == QEvent::Expose) {
            auto *window = qobject_cast<QWindow *>(watched);
            if (window && window->isTopLevel() && window->isExposed()) {
                m_seen = true;
                // Runs once the expose event, and the paint it causes, are done.
                QTimer::singleShot(0, [] {
                    const long long t0 = qgetenv("KOV_PROBE_T0").toLongLong();
                    timespec cpu{};
                    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
                    std::printf("visible_ms=%.2f cpu_ms=%.2f rss_kb=%ld\n", (NowUs() - t0) / 1e3,
                                cpu.tv_sec * 1e3 + cpu.tv_nsec / 1e6, ResidentKb());
                    std::fflush(stdout);
                    std::_Exit(0);
                });
            }
        }
        return false;
    }

private:
    bool m_seen = false;
};

void InstallProbe()
{
    QCoreApplication *app = QCoreApplication::instance();
    app->installEventFilter(new ExposeProbe(app));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
