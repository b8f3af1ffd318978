#pragma once

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

// Helpers shared by the widget and end-to-end tests of the table editor.
namespace kov::test {

/// The sample include files under tests/data (the build gives their folder:
/// a compiler cache may leave __FILE__ relative to the build tree).
inline QString DataFile(const QString &name)
{
    return QDir::cleanPath(QStringLiteral(KOV_TEST_DATA_DIR "/") + name);
}

inline QByteArray FileBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<cannot read ") + path.toUtf8() + ">";
    return f.readAll();
}

/// Once a modal widget of type W is showing, runs act on it. Meant to be
/// called just before the action that opens the modal widget: the check runs
/// from the nested event loop of that widget. If none comes within the time
/// limit, the test fails and whatever modal widget shows instead is closed,
/// so a test never hangs.
template <typename W> void OnNextModal(std::function<void(W *)> act, int timeoutMs = 10000)
{
    auto *timer = new QTimer();
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, act, timeoutMs] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *w = qobject_cast<W *>(modal); w && w->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(w);
            return;
        }
        if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "expected modal widget did not show";
            if (modal)
                modal->close();
        }
    });
    timer->start();
}

/// Types a name into a file dialog's name field and accepts it, as a user
/// would. A dialog that refuses the name fails the test and is cancelled.
inline void ChooseFile(QFileDialog *dialog, const QString &name)
{
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (!edit) {
        ADD_FAILURE() << "file dialog without a name field";
        dialog->reject();
        return;
    }
    edit->setText(name);
    // A refused name brings up a warning box; close it rather than hang.
    QTimer::singleShot(3000, dialog, [] {
        if (QWidget *modal = QApplication::activeModalWidget();
            modal && !qobject_cast<QFileDialog *>(modal)) {
            ADD_FAILURE() << "file dialog showed a warning";
            modal->close();
        }
    });
    QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
    if (dialog->isVisible()) {
        ADD_FAILURE() << "file dialog refused " << name.toStdString();
        dialog->reject();
    }
}

} // namespace kov::test
