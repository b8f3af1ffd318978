#include "app/include_file.h"

#include "app/app_exceptions.h"
#include "app/file_save.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kov {

namespace {

// Opens a regular file for reading; anything else (a directory, a named pipe,
// a device, a socket) fails. The file is opened without blocking and checked
// through its descriptor, so a named pipe with no writer cannot hang the
// window and nothing can swap the file between the check and the read.
bool OpenRegularFile(QFile &file, const QString &fileName)
{
    const int fd = ::open(QFile::encodeName(fileName).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat info;
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

} // namespace

TTextLines ReadIncludeFile(const QString &fileName, qint64 maxBytes)
{
    if (fileName.isEmpty())
        throw FileOpenException(fileName);
    QFile file;
    if (!OpenRegularFile(file, fileName))
        throw FileOpenException(fileName);
    if (file.size() > maxBytes)
        throw MemoCapacityException();
    // The file may grow after its size was taken, so the read is bounded too.
    const QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw FileOpenException(fileName);
    if (bytes.size() > maxBytes)
        throw MemoCapacityException();
    return TTextLines::FromBytes(bytes);
}

void WriteIncludeFile(const QString &fileName, const TTextLines &text)
{
    SaveFileBytes(fileName, text.ToBytes());
}

} // namespace kov
