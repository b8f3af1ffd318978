#include "app/app_exceptions.h"
#include "app/cp1251.h"
#include "app/include_file.h"
#include "app/text_lines.h"
#include "exception_message.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

using namespace kov;
using kov::test::MessageOf;

namespace {

QByteArray Bytes(const char *s, qsizetype n)
{
    return QByteArray(s, n);
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray ReadBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return f.readAll();
}

} // namespace

TEST(TTextLinesTest, SplitsAtEveryKindOfLineBreak)
{
    struct Row
    {
        QByteArray in;
        QList<QByteArray> lines;
        bool trailing;
        QByteArray out;
    };
    const Row rows[] = {
        {"", {}, false, ""},
        {"a", {"a"}, false, "a"},
        {"a\n", {"a"}, true, "a\r\n"},
        {"a\r", {"a"}, true, "a\r\n"},
        {"a\r\n", {"a"}, true, "a\r\n"},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}, false, "a\r\nb\r\nc\r\nd"},
        // LF CR is two breaks, CR LF one.
        {"a\n\rb", {"a", "", "b"}, false, "a\r\n\r\nb"},
        {"\n", {""}, true, "\r\n"},
        {"\r\n\r\n", {"", ""}, true, "\r\n\r\n"},
        {"a\r\r\nb\n\n", {"a", "", "b", ""}, true, "a\r\n\r\nb\r\n\r\n"},
        {Bytes("\0\xff\x98\n\xe0", 5),
         {Bytes("\0\xff\x98", 3), "\xe0"},
         false,
         Bytes("\0\xff\x98\r\n\xe0", 6)},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.in.toStdString());
        const TTextLines text = TTextLines::FromBytes(r.in);
        EXPECT_EQ(text.Lines, r.lines);
        EXPECT_EQ(text.TrailingBreak, r.trailing);
        EXPECT_EQ(text.ToBytes(), r.out);
    }
}

TEST(Windows1251Test, DecodesEveryByteAndMarksTheOneWithoutACharacter)
{
    EXPECT_EQ(DecodeWindows1251("abc"), QStringLiteral("abc"));
    EXPECT_EQ(DecodeWindows1251("\xcd\xf3\xeb\xe5\xe2\xee\xe9"), QStringLiteral("Нулевой"));
    EXPECT_EQ(DecodeWindows1251("\xa8\xb8\xb9\x88\x80\xff"), QStringLiteral("Ёё№€Ђя"));
    EXPECT_EQ(Windows1251ToChar(0x98), QChar(0xFFFD));
    EXPECT_EQ(Windows1251ToChar(0), QChar(0));
    // Every byte decodes to one character, so positions stay as in the file.
    QByteArray all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<char>(i);
    const QString decoded = DecodeWindows1251(all);
    ASSERT_EQ(decoded.size(), 256);
    EXPECT_EQ(EncodeWindows1251(decoded).remove(0x98, 1), all.left(0x98) + all.mid(0x99));
}

TEST(Windows1251Test, EncodesTheCodePageAndMarksOthers)
{
    EXPECT_EQ(EncodeWindows1251(QStringLiteral("Необходимо")),
              QByteArray("\xcd\xe5\xee\xe1\xf5\xee\xe4\xe8\xec\xee"));
    EXPECT_EQ(EncodeWindows1251(QStringLiteral("a\u4e00\uFFFD")), QByteArray("a??"));
}

class IncludeFileTest : public ::testing::Test
{
protected:
    QString Path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
};

TEST_F(IncludeFileTest, ReadsBytesUnchangedAndWritesCrLf)
{
    const QByteArray original = Bytes("; \xd2\xe0\xe1\xeb\xe8\xf6\xe0\0\x98\r"
                                      "\tretlw 0x1a\n"
                                      "\tRETLW H'1A'\r\n",
                                      38);
    WriteBytes(Path("a.inc"), original);
    const TTextLines text = ReadIncludeFile(Path("a.inc"));
    ASSERT_EQ(text.Lines.size(), 3);
    EXPECT_EQ(text.Lines[0], Bytes("; \xd2\xe0\xe1\xeb\xe8\xf6\xe0\0\x98", 11));
    EXPECT_TRUE(text.TrailingBreak);

    WriteIncludeFile(Path("b.inc"), text);
    EXPECT_EQ(ReadBytes(Path("b.inc")), Bytes("; \xd2\xe0\xe1\xeb\xe8\xf6\xe0\0\x98\r\n"
                                              "\tretlw 0x1a\r\n"
                                              "\tRETLW H'1A'\r\n",
                                              40));
}

TEST_F(IncludeFileTest, UnreadableFilesFailWithTheirName)
{
    for (const QString &name : {Path("missing.inc"), m_dir.path(), QString()}) {
        EXPECT_EQ(MessageOf([&] { ReadIncludeFile(name); }), "Cannot open file " + name);
        EXPECT_THROW(ReadIncludeFile(name), FileOpenException);
    }
}

TEST_F(IncludeFileTest, TooLargeTextFailsBeforeItIsRead)
{
    WriteBytes(Path("big.inc"), QByteArray(101, 'x'));
    EXPECT_EQ(ReadIncludeFile(Path("big.inc"), 101).Lines[0].size(), 101);
    EXPECT_EQ(MessageOf([&] { ReadIncludeFile(Path("big.inc"), 100); }),
              "Text exceeds memo capacity");

    // A file far beyond the limit (sparse, so it costs no disk) fails the same
    // way at the program's own limit.
    QFile huge(Path("huge.inc"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(MaxTextBytes + 1));
    huge.close();
    EXPECT_THROW(ReadIncludeFile(Path("huge.inc")), MemoCapacityException);
}

TEST_F(IncludeFileTest, OnlyRegularFilesAreRead)
{
    // A named pipe without a writer: opening it the ordinary way blocks until
    // some writer comes. Should the read block, a writer comes after a while,
    // and the test fails instead of hanging.
    const QString fifo = Path("pipe.inc");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    std::atomic<bool> done = false;
    std::atomic<bool> unblocked = false;
    std::thread writer([&] {
        for (int i = 0; i < 300 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (done)
            return;
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
            unblocked = true;
            ::close(fd);
        }
    });
    const QString message = MessageOf([&] { ReadIncludeFile(fifo); });
    done = true;
    writer.join();
    EXPECT_FALSE(unblocked) << "the read waited for a writer";
    EXPECT_EQ(message, "Cannot open file " + fifo);

    for (const char *device : {"/dev/zero", "/dev/null"}) {
        const QString name = QString::fromLatin1(device);
        if (QFile::exists(name)) {
            EXPECT_EQ(MessageOf([&] { ReadIncludeFile(name); }), "Cannot open file " + name);
        }
    }

    // A symbolic link to a regular file is read as that file.
    WriteBytes(Path("target.inc"), "retlw 0x01\n");
    ASSERT_TRUE(QFile::link(Path("target.inc"), Path("link.inc")));
    EXPECT_EQ(ReadIncludeFile(Path("link.inc")).Lines, QList<QByteArray>{"retlw 0x01"});
}

TEST_F(IncludeFileTest, FailedWriteLeavesTheOldFileAndNoLeftovers)
{
    TTextLines text;
    text.Lines = {"new"};
    // Target is a directory: nothing can be created there under that name.
    EXPECT_EQ(MessageOf([&] { WriteIncludeFile(m_dir.path(), text); }),
              "Cannot create file " + m_dir.path());
    EXPECT_EQ(MessageOf([&] { WriteIncludeFile(Path("no/such/dir/x.inc"), text); }),
              "Cannot create file " + Path("no/such/dir/x.inc"));
    EXPECT_THROW(WriteIncludeFile(QString(), text), FileCreateException);
}

TEST_F(IncludeFileTest, WriteReplacesTheOldFileOnlyWhenEveryByteIsWritten)
{
    const QString old = Path("old.inc");
    WriteBytes(old, "old bytes\r\n");
    TTextLines text;
    text.Lines = {QByteArray(200, 'n')};

    {
        // The file size limit makes every write beyond 64 bytes fail, as a
        // full disk would; the old file must survive byte for byte.
        struct rlimit saved;
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = saved;
        small.rlim_cur = 64;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const QString message = MessageOf([&] { WriteIncludeFile(old, text); });
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_EQ(message, "Cannot create file " + old);
    }
    EXPECT_EQ(ReadBytes(old), "old bytes\r\n");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.inc"});

    WriteIncludeFile(old, text);
    EXPECT_EQ(ReadBytes(old), QByteArray(200, 'n'));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.inc"});
}

namespace {

struct FileId
{
    ino_t Inode = 0;
    mode_t Mode = 0;
    uid_t Owner = 0;
};

FileId IdOf(const QString &path)
{
    struct stat st = {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {st.st_ino, static_cast<mode_t>(st.st_mode & 07777), st.st_uid};
}

void Chmod(const QString &path, mode_t mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0) << path.toStdString();
}

// The user the restricted saves run as: an unprivileged one when the tests
// run as root (who may create files anywhere), else the tests' own user.
constexpr uid_t kNobody = 65534;
bool RunningAsRoot()
{
    return ::geteuid() == 0;
}

/// Saves text to path in a probe process, as the restricted user unless told
/// otherwise, with a file-size limit when one is given; returns the failure's
/// message, empty on success. A save that takes over 20 s (one waiting on a
/// named pipe) fails the test instead of hanging it. The probe runs from a
/// copy in folder, since the build tree may lie where the restricted user
/// cannot reach (a checkout in root's 0700 home folder).
QString RunSaveProbe(const QString &folder, const QString &path, const QByteArray &text,
                     bool restricted = true, rlim_t fileSizeLimit = RLIM_INFINITY)
{
    const QString probeCopy = folder + "/save_probe";
    if (!QFile::exists(probeCopy) && (!QFile::copy(QStringLiteral(KOV_SAVE_PROBE), probeCopy) ||
                                      ::chmod(QFile::encodeName(probeCopy).constData(), 0755) != 0))
        return QStringLiteral("<probe not copied>");
    QProcess probe;
    const bool dropToNobody = restricted && RunningAsRoot();
    probe.setChildProcessModifier([dropToNobody, fileSizeLimit] {
        if (fileSizeLimit != RLIM_INFINITY) {
            struct rlimit limit;
            if (::getrlimit(RLIMIT_FSIZE, &limit) != 0)
                ::_exit(3);
            limit.rlim_cur = fileSizeLimit;
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                ::_exit(3);
        }
        if (dropToNobody &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(3);
    });
    probe.start(probeCopy, {path, QString::fromLatin1(text)});
    if (!probe.waitForFinished(20000)) {
        probe.kill();
        probe.waitForFinished();
        return QStringLiteral("<probe did not finish>");
    }
    const QString out = QString::fromLocal8Bit(probe.readAllStandardOutput());
    if (probe.exitStatus() != QProcess::NormalExit || probe.exitCode() > 1)
        return QStringLiteral("<probe failed: %1>").arg(probe.exitCode());
    return probe.exitCode() == 0 ? QString() : out;
}

} // namespace

TEST_F(IncludeFileTest, FolderWithoutRoomForNewFilesIsSavedInPlace)
{
    // The restricted user must reach the folder.
    Chmod(m_dir.path(), 0711);
    const QString folder = Path("locked");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString target = folder + "/table.inc";
    WriteBytes(target, "old bytes\r\n");
    Chmod(target, 0640);
    if (RunningAsRoot()) {
        ASSERT_EQ(::chown(QFile::encodeName(target).constData(), kNobody, kNobody), 0);
    }
    Chmod(folder, 0555);
    const FileId before = IdOf(target);

    EXPECT_EQ(RunSaveProbe(m_dir.path(), target, "new line\nsecond"), QString());
    EXPECT_EQ(ReadBytes(target), "new line\r\nsecond");
    const FileId after = IdOf(target);
    EXPECT_EQ(after.Inode, before.Inode);
    EXPECT_EQ(after.Mode, 0640u);
    EXPECT_EQ(after.Owner, before.Owner);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"table.inc"});

    // A new name there cannot be created at all.
    const QString fresh = folder + "/new.inc";
    EXPECT_EQ(RunSaveProbe(m_dir.path(), fresh, "x"), "Cannot create file " + fresh);
    EXPECT_FALSE(QFile::exists(fresh));
    Chmod(folder, 0755);
}

TEST_F(IncludeFileTest, SavingElsewhereStaysAtomicAndKeepsPermissionsAndLinks)
{
    TTextLines text;
    text.Lines = {"new"};

    // In a writable folder the file is replaced by a new one (written aside
    // and renamed), with the old file's permissions.
    const QString plain = Path("plain.inc");
    WriteBytes(plain, "old\r\n");
    Chmod(plain, 0604);
    const FileId before = IdOf(plain);
    WriteIncludeFile(plain, text);
    EXPECT_EQ(ReadBytes(plain), "new");
    EXPECT_NE(IdOf(plain).Inode, before.Inode);
    EXPECT_EQ(IdOf(plain).Mode, 0604u);

    // Through a symbolic link: the link stays and its target is rewritten.
    ASSERT_TRUE(QDir().mkdir(Path("real")));
    const QString target = Path("real/target.inc");
    WriteBytes(target, "old\r\n");
    ASSERT_TRUE(QFile::link(target, Path("link.inc")));
    WriteIncludeFile(Path("link.inc"), text);
    EXPECT_TRUE(QFileInfo(Path("link.inc")).isSymLink());
    EXPECT_EQ(QFileInfo(Path("link.inc")).symLinkTarget(), target);
    EXPECT_EQ(ReadBytes(target), "new");
    EXPECT_EQ(QDir(Path("real")).entryList(QDir::Files | QDir::Hidden), QStringList{"target.inc"});
}

TEST_F(IncludeFileTest, TargetsThatAreNoRegularFileAreRefusedWithoutWaiting)
{
    // Each save runs in a probe with a time limit: a save that opens a named
    // pipe the ordinary way would wait for a reader for ever.
    Chmod(m_dir.path(), 0711);
    const QString open = Path("open");
    const QString locked = Path("locked");
    ASSERT_TRUE(QDir().mkdir(open));
    ASSERT_TRUE(QDir().mkdir(locked));
    Chmod(open, 0777);
    const auto makeFifo = [](const QString &path) {
        return ::mkfifo(QFile::encodeName(path).constData(), 0666) == 0 &&
               ::chmod(QFile::encodeName(path).constData(), 0666) == 0;
    };
    // The null device's numbers, as a node of its own (only root makes one).
    const auto makeNull = [](const QString &path) {
        return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0 &&
               ::chmod(QFile::encodeName(path).constData(), 0666) == 0;
    };
    const struct
    {
        QString Name;
        bool Device;
        bool Restricted;
    } rows[] = {
        {open + "/pipe.inc", false, false},
        {locked + "/pipe.inc", false, true},
        {open + "/null.inc", true, false},
        {locked + "/null.inc", true, true},
    };
    for (const auto &r : rows) {
        if (r.Device && !RunningAsRoot())
            continue;
        ASSERT_TRUE(r.Device ? makeNull(r.Name) : makeFifo(r.Name)) << r.Name.toStdString();
    }
    Chmod(locked, 0555);
    for (const auto &r : rows) {
        if (r.Device && !RunningAsRoot())
            continue;
        SCOPED_TRACE(r.Name.toStdString());
        EXPECT_EQ(RunSaveProbe(m_dir.path(), r.Name, "x", r.Restricted),
                  "Cannot create file " + r.Name);
        struct stat st = {};
        ASSERT_EQ(::lstat(QFile::encodeName(r.Name).constData(), &st), 0);
        EXPECT_TRUE(r.Device ? S_ISCHR(st.st_mode) : S_ISFIFO(st.st_mode));
        // Through a link, the same.
        const QString link =
            open + "/link-" + QFileInfo(r.Name).fileName() + (r.Restricted ? "-r" : "");
        ASSERT_TRUE(QFile::link(r.Name, link));
        EXPECT_EQ(RunSaveProbe(m_dir.path(), link, "x", false), "Cannot create file " + link);
        EXPECT_TRUE(QFileInfo(link).isSymLink());
    }
    Chmod(locked, 0755);
}

TEST_F(IncludeFileTest, LongNamesAreSavedAgain)
{
    // <name>.XXXXXX no longer fits from 249 bytes on; the limit is 255.
    TTextLines text;
    text.Lines = {"new"};
    for (const int length : {248, 249, 255}) {
        SCOPED_TRACE(length);
        const QString name = m_dir.path() + "/" + QString(length - 4, QLatin1Char('n')) + ".inc";
        WriteBytes(name, "old\r\n");
        WriteIncludeFile(name, text);
        EXPECT_EQ(ReadBytes(name), "new");
        ASSERT_TRUE(QFile::remove(name));
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

TEST_F(IncludeFileTest, FailedWriteInPlaceRestoresTheOldFile)
{
    const QByteArray old = "twenty bytes of old\n";
    const QByteArray text(5000, 'n');

    // A folder where no new file may be made, by a user whose file-size
    // limit cuts the write short.
    Chmod(m_dir.path(), 0711);
    const QString folder = Path("locked");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString target = folder + "/table.inc";
    WriteBytes(target, old);
    Chmod(target, 0666);
    Chmod(folder, 0555);
    EXPECT_EQ(RunSaveProbe(m_dir.path(), target, text, true, 4096), "Cannot create file " + target);
    EXPECT_EQ(ReadBytes(target), old);
    Chmod(folder, 0755);

    // A hard-linked file, written in place to keep its links: the same.
    const QString linked = Path("linked.inc");
    WriteBytes(linked, old);
    ASSERT_TRUE(::link(QFile::encodeName(linked).constData(),
                       QFile::encodeName(Path("other.inc")).constData()) == 0);
    EXPECT_EQ(RunSaveProbe(m_dir.path(), linked, text, false, 4096),
              "Cannot create file " + linked);
    EXPECT_EQ(ReadBytes(linked), old);
    EXPECT_EQ(ReadBytes(Path("other.inc")), old);
}

TEST_F(IncludeFileTest, HardLinksAndAnotherOwnerAreKept)
{
    TTextLines text;
    text.Lines = {"new"};
    const QString linked = Path("linked.inc");
    WriteBytes(linked, "old\r\n");
    ASSERT_TRUE(::link(QFile::encodeName(linked).constData(),
                       QFile::encodeName(Path("other.inc")).constData()) == 0);
    const QString owned = Path("owned.inc");
    WriteBytes(owned, "old\r\n");
    if (RunningAsRoot()) {
        ASSERT_EQ(::chown(QFile::encodeName(owned).constData(), kNobody, kNobody), 0);
    }
    // Another user's file can only be made by root.
    const QStringList names = RunningAsRoot() ? QStringList{linked, owned} : QStringList{linked};
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        const FileId before = IdOf(name);
        WriteIncludeFile(name, text);
        EXPECT_EQ(ReadBytes(name), "new");
        EXPECT_EQ(IdOf(name).Inode, before.Inode);
        EXPECT_EQ(IdOf(name).Owner, before.Owner);
    }
    EXPECT_EQ(ReadBytes(Path("other.inc")), "new");
}
