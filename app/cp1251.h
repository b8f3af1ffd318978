#pragma once

#include <QByteArray>
#include <QString>

// The file's text is kept as Windows-1251 bytes; these turn it into characters
// for display and back. Qt's own converters do not know this code page.
namespace kov {

/// The character of one Windows-1251 byte; U+FFFD for 0x98, which has none.
QChar Windows1251ToChar(unsigned char byte);

/// Decodes a whole Windows-1251 byte string.
QString DecodeWindows1251(const QByteArray &bytes);

/// Encodes text as Windows-1251; characters the code page lacks become '?'.
QByteArray EncodeWindows1251(const QString &text);

} // namespace kov
