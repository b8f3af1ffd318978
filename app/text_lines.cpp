#include "app/text_lines.h"

namespace kov {

TTextLines TTextLines::FromBytes(const QByteArray &bytes)
{
    TTextLines text;
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        text.Lines.append(bytes.mid(start, i - start));
        i += (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < n)
        text.Lines.append(bytes.mid(start));
    else
        text.TrailingBreak = n > 0;
    return text;
}

QByteArray TTextLines::ToBytes() const
{
    QByteArray bytes;
    qsizetype size = 0;
    for (const QByteArray &line : Lines)
        size += line.size() + 2;
    bytes.reserve(size);
    for (qsizetype k = 0; k < Lines.size(); ++k) {
        if (k > 0)
            bytes.append("\r\n", 2);
        bytes.append(Lines[k]);
    }
    if (TrailingBreak && !Lines.isEmpty())
        bytes.append("\r\n", 2);
    return bytes;
}

} // namespace kov
