#include "app/include_file.h"

#include "app/app_exceptions.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kov {

TTextLines ReadIncludeFile(const QString &fileName, qint64 maxBytes)
{
    if (fileName.isEmpty() || QFileInfo(fileName).isDir())
        throw FileOpenException(fileName);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw FileOpenException(fileName);
    // Devices and pipes report no size, so the read itself is bounded as well.
    if (!file.isSequential() && file.size() > maxBytes)
        throw MemoCapacityException();
    const QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw FileOpenException(fileName);
    if (bytes.size() > maxBytes)
        throw MemoCapacityException();
    return TTextLines::FromBytes(bytes);
}

void WriteIncludeFile(const QString &fileName, const TTextLines &text)
{
    if (fileName.isEmpty() || QFileInfo(fileName).isDir())
        throw FileCreateException(fileName);
    QSaveFile file(fileName);
    // Where no new file may be created beside the target (a folder the user
    // may not write, holding a file they may), the temporary file cannot be
    // made: the existing file is then written in place, keeping its
    // permissions and owner. Everywhere else the save stays atomic.
    file.setDirectWriteFallback(true);
    // Unbuffered, so a short write shows at once: a buffered write that fails
    // while committing is not always reported by commit() itself.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw FileCreateException(fileName);
    const QByteArray bytes = text.ToBytes();
    if (file.write(bytes) != bytes.size() || file.error() != QFileDevice::NoError || !file.commit())
        throw FileCreateException(fileName);
}

} // namespace kov
