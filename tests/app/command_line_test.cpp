#include "app/application.h"
#include "app/command_line.h"
#include "app/main_form.h"
#include "chart/series/line_series.h"
#include "test_support.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// `kov [options] [file]`: the file opens as the open action opens a file
// chosen in its dialog; mistakes and the help and version options are
// answered before any window (or display) is needed.
using namespace kov;
using kov::test::DataFile;

TEST(CommandLine, ReadsOneFileAndTheToolkitsOptions)
{
    const struct
    {
        QStringList Arguments;
        TCommandLine::TOutcome Outcome;
        QString File;
    } cases[] = {
        {{"kov"}, TCommandLine::Run, ""},
        {{"kov", "table.inc"}, TCommandLine::Run, "table.inc"},
        {{"kov", "--", "-odd name.inc"}, TCommandLine::Run, "-odd name.inc"},
        {{"kov", "-platform", "offscreen", "-style=fusion", "table.inc"},
         TCommandLine::Run,
         "table.inc"},
        {{"kov", "--reverse", "table.inc"}, TCommandLine::Run, "table.inc"},
        {{"kov", "--help"}, TCommandLine::ShowInfo, ""},
        {{"kov", "-h", "table.inc"}, TCommandLine::ShowInfo, ""},
        {{"kov", "--help-all"}, TCommandLine::ShowInfo, ""},
        {{"kov", "--version"}, TCommandLine::ShowInfo, ""},
        {{"kov", "-v"}, TCommandLine::ShowInfo, ""},
        {{"kov", "--bogus"}, TCommandLine::Fail, ""},
        {{"kov", "-x", "table.inc"}, TCommandLine::Fail, ""},
        {{"kov", "a.inc", "b.inc"}, TCommandLine::Fail, ""},
        {{"kov", "-platform"}, TCommandLine::Fail, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Arguments.join(' ').toStdString());
        const TCommandLine command = ParseCommandLine(c.Arguments);
        EXPECT_EQ(command.Outcome, c.Outcome);
        EXPECT_EQ(command.File, c.File);
        if (c.Outcome == TCommandLine::Fail)
            EXPECT_TRUE(command.Message.startsWith("kov: ") &&
                        command.Message.contains("\nUsage: kov [options] [file]\n"))
                << command.Message.toStdString();
        else
            EXPECT_TRUE(command.Message.isEmpty());
    }
    EXPECT_EQ(ParseCommandLine({"kov", "--bogus"}).Message,
              "kov: Unknown option 'bogus'.\n"
              "Usage: kov [options] [file]\n"
              "Try 'kov --help' for more information.\n");
}

namespace {

struct TRun
{
    int ExitCode = -1;
    QString Out;
    QString Err;
};

// Runs the program as a user would, without any display: whatever it
// answers here, it answers before it needs one.
TRun RunKov(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(KOV_EXECUTABLE), arguments);
    TRun run;
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.Out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.Err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace

TEST(CommandLine, ProgramAnswersOptionsAndMistakesWithoutADisplay)
{
    const TRun unknown = RunKov({"--bogus", "table.inc"});
    EXPECT_EQ(unknown.ExitCode, UsageExitCode);
    EXPECT_TRUE(unknown.Out.isEmpty());
    EXPECT_EQ(unknown.Err, "kov: Unknown option 'bogus'.\n"
                           "Usage: kov [options] [file]\n"
                           "Try 'kov --help' for more information.\n");

    const TRun twoFiles = RunKov({"a.inc", "b.inc"});
    EXPECT_EQ(twoFiles.ExitCode, UsageExitCode);
    EXPECT_TRUE(twoFiles.Err.contains("Usage: kov [options] [file]")) << twoFiles.Err.toStdString();

    const TRun version = RunKov({"--version"});
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Out, "kov " KOV_VERSION "\n");

    const TRun help = RunKov({"--help"});
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_TRUE(help.Out.startsWith("Usage: ")) << help.Out.toStdString();
    for (const char *part : {"[options] [file]", "--help", "--version", "file "})
        EXPECT_TRUE(help.Out.contains(QLatin1String(part))) << part;
    EXPECT_FALSE(help.Out.contains("platform")) << "the toolkit's options are not listed";
}

namespace {

// What the window shows of an opened file.
struct TShown
{
    QString Caption;
    QString CurrentFileName;
    QString Text;
    std::vector<int> Table;
    int EntryCount;
    int ZeroCount;
    int DisplayMode;
    std::vector<double> Points;

    explicit TShown(const TForm1 &f)
        : Caption(f.windowTitle()), CurrentFileName(f.CurrentFileName),
          Text(f.Memo1->toPlainText()), EntryCount(f.EntryCount),
          ZeroCount(f.SpinEditNull->Value()), DisplayMode(f.DisplayMode)
    {
        for (int i = 0; i < TTable::Size; ++i)
            Table.push_back(f.Table[i]);
        for (int i = 0; i < f.Series1->PointCount(); ++i)
            Points.push_back(f.Series1->YValues()->ValueAt(i));
    }
    bool operator==(const TShown &) const = default;
};

class GivenFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetExceptionPresenter([this](const QString &m) { m_messages.append(m); });
    }
    void TearDown() override
    {
        SetExceptionPresenter({});
        QDir::setCurrent(m_oldCurrent);
    }

    QStringList m_messages;
    QString m_oldCurrent = QDir::currentPath();
};

} // namespace

TEST_F(GivenFile, OpensAsTheOpenActionOpensTheChosenFile)
{
    // Given relative to the working folder, as in a terminal.
    const QString path = DataFile("ramp.inc");
    QDir::setCurrent(QFileInfo(path).absolutePath());
    TForm1 given;
    OpenGivenFile(given, QStringLiteral("ramp.inc"));

    TForm1 chosen;
    chosen.OpenFile(path); // what the open action does with the dialog's name
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
    EXPECT_EQ(TShown(given), TShown(chosen));
    EXPECT_EQ(given.windowTitle(), "Zarnikrev " + path);
    EXPECT_EQ(given.EntryCount, 256);
    EXPECT_EQ(given.DisplayMode, 1);
}

TEST_F(GivenFile, AFailureShowsItsMessageAndLeavesTheStartUpState)
{
    QTemporaryDir dir;
    const struct
    {
        QString File;
        QString Message;
    } cases[] = {
        {DataFile("bad_literal.inc"), "'0xRE' is not a valid integer value"},
        {dir.filePath("missing.inc"), "Cannot open file " + dir.filePath("missing.inc")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.File.toStdString());
        m_messages.clear();
        TForm1 started;
        TForm1 given;
        OpenGivenFile(given, c.File);
        EXPECT_EQ(m_messages, QStringList{c.Message});
        // As after a failed open: the caption names the file, nothing else moved.
        TShown expected(started);
        expected.Caption = "Zarnikrev " + c.File;
        expected.CurrentFileName = c.File;
        EXPECT_EQ(TShown(given), expected);
    }
}

TEST_F(GivenFile, NoNameOpensNothing)
{
    TForm1 started;
    TForm1 given;
    OpenGivenFile(given, QString());
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(TShown(given), TShown(started));
}
