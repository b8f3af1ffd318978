#pragma once

#include <QByteArray>
#include <QList>

// The text of an include file as the text view holds it: a list of byte lines
// (Windows-1251, never re-encoded) plus whether the text ended with a line
// break. Any of CR, LF and CR LF ends a line when reading; writing always
// uses CR LF.
namespace kov {

struct TTextLines
{
    QList<QByteArray> Lines;
    /// The last line was followed by a line break.
    bool TrailingBreak = false;

    /// Splits bytes into lines at CR, LF and CR LF. A text ending with a line
    /// break has no empty line after it; an empty text has no lines.
    static TTextLines FromBytes(const QByteArray &bytes);

    /// The lines joined by CR LF, with a final CR LF when TrailingBreak is set.
    QByteArray ToBytes() const;

    bool operator==(const TTextLines &) const = default;
};

} // namespace kov
