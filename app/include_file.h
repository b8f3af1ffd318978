#pragma once

#include "app/text_lines.h"

#include <QString>

// Reading and writing the include file as a whole. The file's bytes are kept
// as they are; only the line breaks are normalised (any break on reading,
// CR LF on writing).
namespace kov {

/// Largest text the text view takes, in bytes. A table of 513 entries with
/// generous comments is some tens of kilobytes; 4 MiB leaves ample room for any
/// real include file while keeping memory use and the text view's layout time
/// small, and stops a wrongly chosen large file before it is read.
constexpr qint64 MaxTextBytes = 4 * 1024 * 1024;

/// Reads a whole regular file. Fails with "Cannot open file %s" when it is
/// not a regular file (a directory, a named pipe, a device) or cannot be
/// opened or read, and with "Text exceeds memo capacity" when it holds more
/// than maxBytes bytes; the size is checked before the text is read.
TTextLines ReadIncludeFile(const QString &fileName, qint64 maxBytes = MaxTextBytes);

/// Writes the text (lines joined by CR LF) to the file through SaveFileBytes:
/// an ordinary file is replaced only when every byte is written, a file
/// written in place gets its old contents back when the write fails, and
/// anything but a regular file is refused. Fails with "Cannot create file %s".
void WriteIncludeFile(const QString &fileName, const TTextLines &text);

} // namespace kov
