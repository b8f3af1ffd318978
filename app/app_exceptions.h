#pragma once

#include "chart/exceptions.h"

#include <QString>

// Failures of the table editor itself: reading and writing files and reading
// the table literals. Each carries the message the user sees in the message box.
namespace kov {

/// A file that cannot be opened or read: "Cannot open file %s".
class FileOpenException : public KovException
{
public:
    explicit FileOpenException(const QString &fileName)
        : KovException(QStringLiteral("Cannot open file %1").arg(fileName))
    {
    }
};

/// A file that cannot be created or fully written: "Cannot create file %s".
class FileCreateException : public KovException
{
public:
    explicit FileCreateException(const QString &fileName)
        : KovException(QStringLiteral("Cannot create file %1").arg(fileName))
    {
    }
};

/// A text larger than the text view takes: "Text exceeds memo capacity".
class MemoCapacityException : public KovException
{
public:
    MemoCapacityException() : KovException(QStringLiteral("Text exceeds memo capacity")) {}
};

/// A text that does not read as an integer: "'%s' is not a valid integer value".
class ConvertException : public KovException
{
public:
    explicit ConvertException(const QString &text)
        : KovException(QStringLiteral("'%1' is not a valid integer value").arg(text))
    {
    }
};

/// A table line that, with its new value written in, would no longer read back
/// as that value; the update is refused and the text left unchanged.
class UnwritableLineException : public KovException
{
public:
    UnwritableLineException(int lineNumber, const QString &lineText, int value)
        : KovException(
              QStringLiteral("Cannot update line %1 (%2): with 0x%3 written into it, it would "
                             "no longer read back as that value. The text was left unchanged.")
                  .arg(lineNumber)
                  .arg(Shortened(lineText))
                  .arg(QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper()))
    {
    }

private:
    static QString Shortened(const QString &text)
    {
        constexpr qsizetype MaxShown = 60;
        return text.size() <= MaxShown ? text : text.left(MaxShown) + QChar(0x2026);
    }
};

} // namespace kov
