#include "app/application.h"
#include "app/form_controls.h"

#include <QDialogButtonBox>
#include <QPushButton>

#include <cstdio>

// Prints the cancel button's text of kov's open dialog, as the application
// object started in this process's environment shows it. The language tests
// run it with the desktop's locale variables of their choice.
int main(int argc, char **argv)
{
    kov::TApplication app(argc, argv);
    kov::TFileDialog dialog(nullptr, QFileDialog::AcceptOpen, QStringLiteral("All|*.*"));
    const auto *buttons = dialog.findChild<QDialogButtonBox *>();
    const QPushButton *cancel = buttons ? buttons->button(QDialogButtonBox::Cancel) : nullptr;
    if (!cancel)
        return 1;
    std::fputs(cancel->text().toUtf8().constData(), stdout);
    return 0;
}
