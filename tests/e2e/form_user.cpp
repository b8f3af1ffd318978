#include "e2e/form_user.h"

#include "chart/series/line_series.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QToolBar>

namespace kov::test {

void ClickTool(TXUser &user, TForm1 &form, QAction *action)
{
    QWidget *button = TXUser::Gui([&] { return form.ToolBar1->widgetForAction(action); });
    ASSERT_NE(button, nullptr);
    user.Click(user.CentreOf(button));
}

bool TypeIntoFileDialog(TXUser &user, const char *dialogName, const QString &name)
{
    QFileDialog *dialog = nullptr;
    // Keys go to the active window: wait until the dialog is it.
    if (!user.WaitFor(
            [&] {
                auto *d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                if (!d || !d->isVisible() || !d->isActiveWindow() ||
                    d->objectName() != QLatin1String(dialogName))
                    return false;
                dialog = d;
                return true;
            },
            std::string("the file dialog ") + dialogName))
        return false;
    QLineEdit *edit = TXUser::Gui(
        [dialog] { return dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")); });
    if (!edit) {
        ADD_FAILURE() << "file dialog without a name field";
        return false;
    }
    user.Click(user.CentreOf(edit));
    if (!user.WaitFor([edit] { return edit->hasFocus(); }, "the name field to take the focus"))
        return false;
    user.Key(QStringLiteral("ctrl+a"));
    user.Type(name);
    if (!user.WaitFor([edit, name] { return edit->text() == name; },
                      "the name field to read " + name.toStdString()))
        return false;
    user.Key(QStringLiteral("Return"));
    return user.WaitFor([dialog] { return !dialog->isVisible(); },
                        std::string("the file dialog ") + dialogName + " to close");
}

QString AnswerMessageBox(TXUser &user)
{
    // The box lives only while it is shown.
    QPointer<QMessageBox> box;
    if (!user.WaitFor(
            [&] {
                box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                return box && box->isVisible() && box->isActiveWindow();
            },
            "a message box"))
        return QString();
    const QString text = TXUser::Gui([&box] { return box ? box->text() : QString(); });
    user.Key(QStringLiteral("Return"));
    user.WaitFor([&box] { return !box || !box->isVisible(); }, "the message box to close");
    return text;
}

QStringList OtherVisibleWindows(const TForm1 &form)
{
    QStringList shown;
    for (const QWidget *w : QApplication::topLevelWidgets()) {
        if (w != &form && w->isVisible())
            shown.append(QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') +
                         w->objectName());
    }
    return shown;
}

int ChartRowReading(const TForm1 &form, double low, double high)
{
    for (int y = 0; y < form.Chart1->height(); ++y) {
        const double v = form.Series1->ScreenYToValue(y);
        if (v >= low && v < high)
            return y;
    }
    return -1;
}

} // namespace kov::test
