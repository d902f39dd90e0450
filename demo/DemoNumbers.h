// Number entry and number read-outs of the demonstration program: texts are
// read and written in the user's locale (its decimal separator), as the
// program's edit boxes and labels show them.
#pragma once

#include <QString>

#include <initializer_list>

namespace orvex::demo {

/// The number in Text, in the user's locale. Leading and trailing blanks are
/// allowed; empty text, trailing garbage, group separators, infinities and
/// NaN are not.
/// EConvertError naming the text when it is not a number.
double StrToFloat(const QString& Text);

/// The whole number in Text, in the user's locale; EConvertError otherwise.
int StrToInt(const QString& Text);

/// Pattern with every "%8.3f" replaced, in order, by the next value:
/// right-aligned in at least 8 characters with 3 decimals and the locale's
/// decimal separator. Missing values leave their "%8.3f" in place.
QString FormatFloat(const QString& Pattern, std::initializer_list<double> Values);

} // namespace orvex::demo
