#include "app/application.h"

#include "chart/exceptions.h"

#include <QMessageBox>
#include <QTimer>

#include <exception>

namespace kov {

namespace {

TExceptionPresenter &Presenter()
{
    static TExceptionPresenter presenter;
    return presenter;
}

void ShowInMessageBox(const QString &message)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("kov"), message, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("ExceptionBox"));
    box.exec();
}

} // namespace

void SetExceptionPresenter(TExceptionPresenter presenter)
{
    Presenter() = std::move(presenter);
}

namespace {

QString CurrentExceptionMessage()
{
    try {
        throw;
    } catch (const KovException &e) {
        return e.Message();
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

void Present(const QString &message)
{
    if (Presenter())
        Presenter()(message);
    else
        ShowInMessageBox(message);
}

} // namespace

void ShowCurrentException()
{
    Present(CurrentExceptionMessage());
}

void ShowCurrentExceptionLater()
{
    QTimer::singleShot(0, QCoreApplication::instance(),
                       [message = CurrentExceptionMessage()] { Present(message); });
}

void SetApplicationIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("kov"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KOV_VERSION));
    // Lets desktops match the window to the installed menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KOV_APP_ID));
}

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    SetApplicationIdentity();
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowCurrentException();
        return false;
    }
}

} // namespace kov
