#pragma once

#include <QByteArray>
#include <QString>

// Saving a whole file so that a failed save never loses the old one.
namespace kov {

/// Largest old file a save written in place keeps a copy of in memory, to put
/// it back when the write fails; a larger one is not written in place.
constexpr qint64 MaxInPlaceCopyBytes = 64 * 1024 * 1024;

/// Replaces the contents of fileName with bytes; a symbolic link is followed
/// and keeps pointing at its rewritten target. An existing target that is not
/// a regular file (a directory, a named pipe, a device) or that the user may
/// not write is refused before anything is written.
///
/// An ordinary file is written to a new file beside it (named after it, or
/// ".kov-" and random letters when that name would be too long) and renamed
/// over it once every byte is on disk, with the old file's permissions. A
/// file with other hard links, or owned by another user or a group the new
/// file cannot take, is instead written in place, so the links, owner and
/// group stay; so is an existing file in a folder where no new file may be
/// created. A write in place first reads the old contents and puts them back
/// when the write fails; only when that too fails is the file left as far as
/// either write got. Throws FileCreateException on any failure.
void SaveFileBytes(const QString &fileName, const QByteArray &bytes);

} // namespace kov
