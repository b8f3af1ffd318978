#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

// Drives the real file dialog of the end-to-end tests as a user does.
namespace kov::test {

// Types the name into the real dialog's name field key by key and presses
// the dialog's Open or Save button, as the user does. (Enter is not used: the
// name field's completer pops up at its own pace and takes Enter for itself.)
// A dialog that is still open afterwards fails the test and is cancelled, so
// nothing hangs.
inline void TypeNameAndAccept(QFileDialog *dialog, const QString &name)
{
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    auto *buttons = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QPushButton *accept = nullptr;
    if (buttons) {
        for (QAbstractButton *b : buttons->buttons())
            if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole)
                accept = qobject_cast<QPushButton *>(b);
    }
    if (!edit || !accept) {
        ADD_FAILURE() << "file dialog without a name field or accept button";
        dialog->reject();
        return;
    }
    // With the dialog active the name field keeps the focus, so the file list
    // loading in the background does not overwrite what is typed.
    dialog->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, name);
    QTest::qWait(50);
    if (QCompleter *completer = edit->completer(); completer && completer->popup())
        completer->popup()->hide();
    EXPECT_EQ(edit->text(), name);
    if (!accept->isEnabled()) {
        ADD_FAILURE() << "file dialog does not accept " << name.toStdString();
        dialog->reject();
        return;
    }
    accept->click();
    if (dialog->isVisible()) {
        ADD_FAILURE() << "file dialog did not take " << name.toStdString() << "; name field "
                      << edit->text().toStdString();
        dialog->reject();
    }
}

} // namespace kov::test
