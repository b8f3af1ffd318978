#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;

// kov's command line: `kov [options] [file]`. It is read before the
// application object exists, so that --help, --version and mistakes are
// answered without a display.
namespace kov {

/// What the command line asks for.
struct TCommandLine
{
    enum TOutcome {
        Run,      ///< start the window, opening File when it is not empty
        ShowInfo, ///< --help, --help-all or --version: let the parser answer
        Fail      ///< a mistake: print Message on standard error, exit with 2
    };
    TOutcome Outcome = Run;
    /// The file to open, as given.
    QString File;
    /// For Fail: the error and a short usage, ready to print.
    QString Message;
};

/// Exit status for a command line kov cannot follow.
constexpr int UsageExitCode = 2;

/// Declares kov's options and argument, and the toolkit's own options (such
/// as -platform or -style) so that they pass without being listed.
void SetUpCommandLineParser(QCommandLineParser &parser);

/// Reads the arguments (the program name first).
TCommandLine ParseCommandLine(const QStringList &arguments);

/// The program's arguments as text, the program name first.
QStringList ArgumentsOf(int argc, char **argv);

class TForm1;

/// Opens a file named on the command line as the open action opens the file
/// chosen in its dialog; a failure shows its message as any failure does.
/// Nothing happens for an empty name.
void OpenGivenFile(TForm1 &form, const QString &file);

} // namespace kov
