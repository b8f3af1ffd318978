#pragma once

#include "chart/kovchart_export.h"

#include <QChar>
#include <QString>
#include <QStringList>

// Multi-line texts (labels, titles, marks): lines within one text are
// separated by LineBreakChar. Splitting, counting and measuring them lives
// here, once, for every chart part that writes text.
namespace kov {

class TChartCanvas;

/// Separates the lines of a multi-line text.
inline constexpr QChar LineBreakChar = QChar(13);

/// The lines of text; a trailing line break adds no empty last line, and a
/// text without a break is one line (an empty text too).
KOVCHART_EXPORT QStringList SplitLines(const QString &text);

/// Number of lines of text: 0 for an empty text, and a trailing line break
/// adds no line.
KOVCHART_EXPORT int CountTextLines(const QString &text);

/// Turns the first character of every occurrence of separator into
/// LineBreakChar (an empty separator, or one starting with a line break,
/// changes nothing).
KOVCHART_EXPORT void SplitIntoLines(QString &text, const QString &separator);

/// Width of the widest line of text in the canvas font; lineCount gets the
/// number of lines as SplitLines counts them.
KOVCHART_EXPORT int WidestLineWidth(TChartCanvas &canvas, const QString &text, int &lineCount);

} // namespace kov
