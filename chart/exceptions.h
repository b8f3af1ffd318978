#pragma once

#include "chart/kovchart_export.h"

#include <QString>
#include <stdexcept>
#include <string>

// Failures are exceptions carrying the message the user sees. Each family has
// its own type so callers and tests can tell them apart; what() is UTF-8.
namespace kov {

/// The base of every exception the engine throws; what() is the message the user sees, in UTF-8.
class KOVCHART_EXPORT KovException : public std::runtime_error
{
public:
    explicit KovException(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    /// The message as shown in a message box.
    QString Message() const { return m_message; }

private:
    QString m_message;
};

/// Bad values given to chart, series or panel settings.
class KOVCHART_EXPORT ChartException : public KovException
{
public:
    using KovException::KovException;
};

/// Bad values given to axis settings.
class KOVCHART_EXPORT AxisException : public KovException
{
public:
    using KovException::KovException;
};

/// Bad values given to legend settings.
class KOVCHART_EXPORT LegendException : public KovException
{
public:
    using KovException::KovException;
};

/// An index or a byte outside its range: "Range check error".
class KOVCHART_EXPORT RangeCheckError : public KovException
{
public:
    RangeCheckError() : KovException(QStringLiteral("Range check error")) {}
};

/// A list index outside the list: "List index out of bounds (%d)".
class KOVCHART_EXPORT ListIndexError : public KovException
{
public:
    explicit ListIndexError(int index)
        : KovException(QStringLiteral("List index out of bounds (%1)").arg(index))
    {
    }
};

} // namespace kov
