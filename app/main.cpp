#include "app/application.h"
#include "app/main_form.h"

int main(int argc, char **argv)
{
    kov::TApplication app(argc, argv);
    kov::TForm1 form;
    form.show();
    return app.exec();
}
