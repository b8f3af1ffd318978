#include "app/text_lines.h"

#include <algorithm>

namespace kov {

TTextLines TTextLines::FromBytes(const QByteArray &bytes)
{
    TTextLines text;
    const QByteArrayView all(bytes);
    const qsizetype n = all.size();
    // The next CR and the next LF are each looked up again only once the
    // split has passed them, so a text with only one kind stays linear.
    qsizetype nextCr = all.indexOf('\r');
    qsizetype nextLf = all.indexOf('\n');
    // One line per break (a CR LF counts once) and one after the last: the
    // list is allocated once instead of growing line by line.
    qsizetype breaks = all.count('\n');
    for (qsizetype cr = all.indexOf('\r'); cr >= 0; cr = all.indexOf('\r', cr + 1))
        breaks += cr + 1 < n && all[cr + 1] == '\n' ? 0 : 1;
    text.Lines.reserve(breaks + 1);
    qsizetype start = 0;
    while (start < n) {
        if (nextCr >= 0 && nextCr < start)
            nextCr = all.indexOf('\r', start);
        if (nextLf >= 0 && nextLf < start)
            nextLf = all.indexOf('\n', start);
        const qsizetype end = nextCr < 0 ? nextLf : nextLf < 0 ? nextCr : std::min(nextCr, nextLf);
        if (end < 0)
            break;
        text.Lines.append(bytes.mid(start, end - start));
        start = end + (end == nextCr && end + 1 == nextLf ? 2 : 1);
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
