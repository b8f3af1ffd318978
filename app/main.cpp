#include "app/application.h"
#include "app/command_line.h"
#include "app/main_form.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    kov::SetApplicationIdentity();
    const kov::TCommandLine command = kov::ParseCommandLine(kov::ArgumentsOf(argc, argv));
    switch (command.Outcome) {
    case kov::TCommandLine::Fail:
        std::fputs(command.Message.toLocal8Bit().constData(), stderr);
        return kov::UsageExitCode;
    case kov::TCommandLine::ShowInfo: {
        // Help and version need no display: the parser prints them and exits.
        QCoreApplication core(argc, argv);
        QCommandLineParser parser;
        kov::SetUpCommandLineParser(parser);
        parser.process(core);
        return 0;
    }
    case kov::TCommandLine::Run:
        break;
    }

    kov::TApplication app(argc, argv);
    kov::TForm1 form;
    form.show();
    kov::OpenGivenFile(form, command.File);
    return app.exec();
}
