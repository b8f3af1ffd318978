#pragma once

#include "app/main_form.h"
#include "e2e/x_user.h"

#include <QString>

class QAction;

// What the end-to-end tests do on kov's main window as a user: tool buttons,
// file dialogs typed into, message boxes. Every call runs on the user thread
// of PlayAsUser and drives the window through real X input only.
namespace kov::test {

/// Clicks the tool button of an action.
void ClickTool(TXUser &user, TForm1 &form, QAction *action);

/// Waits for the file dialog dialogName, clicks into its name field, types
/// the name over whatever the field holds and presses Enter. Returns whether
/// the dialog closed.
bool TypeIntoFileDialog(TXUser &user, const char *dialogName, const QString &name);

/// Waits for a message box, returns its text and closes it with Enter.
QString AnswerMessageBox(TXUser &user);

/// Top-level windows of the program on screen besides the main window.
QStringList OtherVisibleWindows(const TForm1 &form);

/// The row of the chart where its left axis reads within [low, high), or -1.
int ChartRowReading(const TForm1 &form, double low, double high);

} // namespace kov::test
