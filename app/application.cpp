#include "app/application.h"

#include "chart/exceptions.h"

#include <QMessageBox>

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

void ShowCurrentException()
{
    QString message;
    try {
        throw;
    } catch (const KovException &e) {
        message = e.Message();
    } catch (const std::exception &e) {
        message = QString::fromUtf8(e.what());
    } catch (...) {
        message = QStringLiteral("Unknown error");
    }
    if (Presenter())
        Presenter()(message);
    else
        ShowInMessageBox(message);
}

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("kov"));
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
