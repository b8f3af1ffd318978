#include "chart/canvas/text_lines.h"

#include "chart/canvas/chart_canvas.h"

#include <algorithm>

namespace kov {

QStringList SplitLines(const QString &text)
{
    // One line (the common case) is handed back without splitting.
    if (!text.contains(LineBreakChar))
        return QStringList{text};
    QStringList lines = text.split(LineBreakChar);
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

int CountTextLines(const QString &text)
{
    if (text.isEmpty())
        return 0;
    int lines = static_cast<int>(text.count(LineBreakChar)) + 1;
    if (text.endsWith(LineBreakChar))
        --lines;
    return lines;
}

void SplitIntoLines(QString &text, const QString &separator)
{
    // An empty separator, or one that already starts with a line break,
    // would be found again after every replacement.
    if (separator.isEmpty() || separator.front() == LineBreakChar)
        return;
    qsizetype pos = text.indexOf(separator);
    while (pos >= 0) {
        text[pos] = LineBreakChar;
        // A new occurrence can only overlap the character just replaced.
        const qsizetype from = std::max<qsizetype>(0, pos - separator.size() + 1);
        pos = text.indexOf(separator, from);
    }
}

int WidestLineWidth(TChartCanvas &canvas, const QString &text, int &lineCount)
{
    // One line (the common case) is measured without splitting.
    if (!text.contains(LineBreakChar)) {
        lineCount = 1;
        return canvas.MeasureTextWidth(text);
    }
    int widest = 0;
    lineCount = 0;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(LineBreakChar, start);
        if (end < 0)
            end = text.size();
        widest = std::max(widest, canvas.MeasureTextWidth(text.mid(start, end - start)));
        ++lineCount;
        start = end + 1;
    }
    return widest;
}

} // namespace kov
