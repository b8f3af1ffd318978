#pragma once

#include <QHash>
#include <QLocale>
#include <QString>

// Numbers formatted with picture strings such as "#,##0.###" or "##0.## %":
//   0   a digit, printed even when it is a leading or trailing zero;
//   #   a digit, printed only when significant;
//   .   the decimal point (the first one counts; the locale's separator is printed);
//   ,   anywhere among the integer placeholders: group thousands with the locale's
//       separator;
//   E+ E- e+ e-  followed by 0s: scientific notation with at least that many
//       exponent digits ("E+" always prints the sign, "E-" only a minus);
//   ;   separates sections for positive;negative;zero values;
//   'x' "x"  literal text; any other character is copied as it stands.
// Values are rounded half away from zero at the last placeholder of the
// fraction. An empty picture prints the value in its shortest general form.
namespace kov {

QString FormatFloat(const QString &picture, double value,
                    const QLocale &locale = QLocale::system());

/// FormatFloat that remembers the texts it made: a chart formats the same
/// values (marks, legend rows) at every paint. The texts are kept for one
/// picture and locale and forgotten as soon as a call names another one, and
/// all at once when too many values were formatted.
class TFormatMemo
{
public:
    QString Format(const QString &picture, double value, const QLocale &locale = QLocale::system());

private:
    QString m_picture;
    QLocale m_locale;
    QHash<double, QString> m_texts;
};

} // namespace kov
