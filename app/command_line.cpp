#include "app/command_line.h"

#include "app/application.h"
#include "app/main_form.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>

namespace kov {

namespace {

// The toolkit reads these itself (the X11 ones only there); they are
// accepted so that `kov -style fusion table.inc` works, and kept out of the
// help text.
constexpr const char *ToolkitValueOptions[] = {"platform",
                                               "platformpluginpath",
                                               "platformtheme",
                                               "plugin",
                                               "qwindowgeometry",
                                               "geometry",
                                               "qwindowtitle",
                                               "title",
                                               "qwindowicon",
                                               "icon",
                                               "session",
                                               "style",
                                               "stylesheet",
                                               "qmljsdebugger",
                                               "display",
                                               "name",
                                               "visual",
                                               "ncols",
                                               "cmap"};
constexpr const char *ToolkitFlagOptions[] = {"reverse", "testability", "widgetcount",
                                              "nograb",  "dograb",      "sync"};

QString UsageError(const QString &error)
{
    return QStringLiteral("kov: %1\n"
                          "Usage: kov [options] [file]\n"
                          "Try 'kov --help' for more information.\n")
        .arg(error);
}

} // namespace

void SetUpCommandLineParser(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Views and edits the RETLW lookup table of a microcontroller include "
                       "file."));
    // Toolkit options are written with one dash (-style), as the toolkit
    // reads them.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("The include file to open at start."),
                                 QStringLiteral("[file]"));
    for (const char *name : ToolkitValueOptions) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : ToolkitFlagOptions) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

TCommandLine ParseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    SetUpCommandLineParser(parser);
    TCommandLine result;
    if (!parser.parse(arguments)) {
        result.Outcome = TCommandLine::Fail;
        result.Message = UsageError(parser.errorText());
        return result;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")) ||
        parser.isSet(QStringLiteral("version"))) {
        result.Outcome = TCommandLine::ShowInfo;
        return result;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        result.Outcome = TCommandLine::Fail;
        result.Message = UsageError(
            QStringLiteral("Only one file can be opened, %1 were given.").arg(files.size()));
        return result;
    }
    if (!files.isEmpty())
        result.File = files.first();
    return result;
}

QStringList ArgumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

void OpenGivenFile(TForm1 &form, const QString &file)
{
    // The open dialog hands over full paths; a name given relative to the
    // working folder is made one, so caption and messages read the same.
    if (file.isEmpty())
        return;
    RunGuarded([&] { form.OpenFile(QFileInfo(file).absoluteFilePath()); });
}

} // namespace kov
