#include "app/application.h"

#include "chart/exceptions.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>

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
    // The toolkit's own texts (the file dialogs' labels, the message boxes'
    // buttons) in the desktop's language, where the system has them; kov's
    // own texts are fixed and not translated.
    auto *translator = new QTranslator(this);
    if (translator->load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
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
