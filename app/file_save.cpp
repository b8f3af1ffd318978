#include "app/file_save.h"

#include "app/app_exceptions.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kov {

namespace {

/// Closes a descriptor when it goes out of scope.
class TDescriptor
{
public:
    explicit TDescriptor(int fd) : m_fd(fd) {}
    ~TDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    TDescriptor(const TDescriptor &) = delete;
    TDescriptor &operator=(const TDescriptor &) = delete;

    int Get() const { return m_fd; }
    /// Closes now; false when closing reports an error (a delayed write
    /// failure on some file systems).
    bool Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

/// Ignores the file-size-limit signal while alive, so a write beyond the
/// limit fails with an error instead of ending the process.
class TFileSizeSignalIgnored
{
public:
    TFileSizeSignalIgnored()
    {
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        ::sigaction(SIGXFSZ, &ignore, &m_saved);
    }
    ~TFileSizeSignalIgnored() { ::sigaction(SIGXFSZ, &m_saved, nullptr); }
    TFileSizeSignalIgnored(const TFileSizeSignalIgnored &) = delete;
    TFileSizeSignalIgnored &operator=(const TFileSizeSignalIgnored &) = delete;

private:
    struct sigaction m_saved = {};
};

/// The file a save writes: the name itself, or, for a symbolic link, the file
/// at the end of its chain (which need not exist yet).
QString FinalName(const QString &fileName)
{
    QFileInfo info(fileName);
    int depth = 128;
    while (--depth > 0 && info.isSymLink())
        info.setFile(info.symLinkTarget());
    return depth > 0 ? info.filePath() : fileName;
}

bool WriteAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, bytes.size() - done, done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

/// The file's whole contents become bytes, on disk.
bool ReplaceContents(int fd, const QByteArray &bytes)
{
    return WriteAll(fd, bytes) && ::ftruncate(fd, bytes.size()) == 0 && ::fsync(fd) == 0;
}

/// Reads the whole file, at most maxBytes; false when it holds more.
bool ReadAll(int fd, QByteArray &bytes, qint64 maxBytes)
{
    bytes.clear();
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::pread(fd, chunk, sizeof chunk, bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (bytes.size() + n > maxBytes)
            return false;
        bytes.append(chunk, n);
    }
}

/// Writes over an existing regular file, putting its old contents back when
/// the write fails.
bool WriteInPlace(const QByteArray &path, const QByteArray &bytes)
{
    // Without blocking: should the name have become a named pipe since it
    // was checked, the open neither waits for a reader nor succeeds usefully,
    // and the check through the descriptor refuses it.
    TDescriptor fd(::open(path.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat info;
    if (fd.Get() < 0 || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    QByteArray old;
    if (!ReadAll(fd.Get(), old, MaxInPlaceCopyBytes))
        return false;
    if (ReplaceContents(fd.Get(), bytes))
        return fd.Close();
    ReplaceContents(fd.Get(), old);
    return false;
}

enum class TAsideResult { Saved, NoRoom, Failed };

/// Creates a new file named stem followed by six random letters.
int CreateBeside(const QByteArray &stem, QByteArray &name)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = stem;
        for (int i = 0; i < 6; ++i)
            name += letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)];
        const int fd =
            ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

/// Writes a new file beside path and renames it over path. old is the
/// existing file's status, or null for a new file. NoRoom when no file may be
/// created in the folder, or when the new file cannot take the old one's
/// group.
TAsideResult WriteAside(const QByteArray &path, const struct stat *old, const QByteArray &bytes)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = path.left(slash + 1);
    QByteArray temp;
    int created = CreateBeside(path + '.', temp);
    // A name near the file system's length limit leaves no room for the
    // letters: a short name does.
    if (created < 0 && errno == ENAMETOOLONG)
        created = CreateBeside(folder + ".kov-", temp);
    if (created < 0)
        return errno == EACCES || errno == EPERM ? TAsideResult::NoRoom : TAsideResult::Failed;
    TDescriptor fd(created);

    TAsideResult result = TAsideResult::Failed;
    struct stat info;
    if (old && (::fstat(fd.Get(), &info) != 0 ||
                (info.st_gid != old->st_gid && ::fchown(fd.Get(), -1, old->st_gid) != 0)))
        result = TAsideResult::NoRoom;
    else if ((!old || ::fchmod(fd.Get(), old->st_mode & 07777) == 0) && WriteAll(fd.Get(), bytes) &&
             ::fsync(fd.Get()) == 0 && fd.Close() &&
             ::rename(temp.constData(), path.constData()) == 0)
        return TAsideResult::Saved;
    ::unlink(temp.constData());
    return result;
}

} // namespace

void SaveFileBytes(const QString &fileName, const QByteArray &bytes)
{
    if (fileName.isEmpty())
        throw FileCreateException(fileName);
    const QByteArray path = QFile::encodeName(FinalName(fileName));
    const TFileSizeSignalIgnored sizeLimitGivesAnError;

    struct stat info;
    const bool exists = ::stat(path.constData(), &info) == 0;
    if (!exists && errno != ENOENT)
        throw FileCreateException(fileName);
    if (exists) {
        // Nothing but a regular file the user may write is ever written to.
        if (!S_ISREG(info.st_mode) ||
            ::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0)
            throw FileCreateException(fileName);
        // A new file would split the hard links and take another user's
        // file over: such a file is written in place, as editors do.
        if (info.st_nlink > 1 || info.st_uid != ::geteuid()) {
            if (!WriteInPlace(path, bytes))
                throw FileCreateException(fileName);
            return;
        }
    }
    switch (WriteAside(path, exists ? &info : nullptr, bytes)) {
    case TAsideResult::Saved:
        return;
    case TAsideResult::NoRoom:
        if (exists && WriteInPlace(path, bytes))
            return;
        break;
    case TAsideResult::Failed:
        break;
    }
    throw FileCreateException(fileName);
}

} // namespace kov
