#include "DemoNumbers.h"

#include <OrvexGDI/VUvuDAVTypes.h>

#include <QLocale>

#include <cmath>

namespace orvex::demo {

namespace {
// The user's locale without thousands grouping: "1,000" is no number when
// typed and 1000 is written without a separator.
QLocale number_locale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

[[noreturn]] void not_a_number(const QString& Text, const char* Kind)
{
    throw EConvertError(QStringLiteral("'%1' is not a valid %2 value").arg(Text, QLatin1String(Kind)).toStdString());
}
} // namespace

double StrToFloat(const QString& Text)
{
    bool ok = false;
    const double value = number_locale().toDouble(Text.trimmed(), &ok);
    // "inf" and "nan" are no coordinates: they would break every view.
    if (!ok || !std::isfinite(value))
        not_a_number(Text, "floating point");
    return value;
}

int StrToInt(const QString& Text)
{
    bool ok = false;
    const int value = number_locale().toInt(Text.trimmed(), &ok);
    if (!ok)
        not_a_number(Text, "integer");
    return value;
}

QString FormatFloat(const QString& Pattern, std::initializer_list<double> Values)
{
    static const QString placeholder = QStringLiteral("%8.3f");
    const QLocale locale = number_locale();
    QString text;
    qsizetype from = 0;
    for (const double value : Values) {
        const qsizetype at = Pattern.indexOf(placeholder, from);
        if (at < 0)
            break;
        text += Pattern.mid(from, at - from);
        text += locale.toString(value, 'f', 3).rightJustified(8, QLatin1Char(' '));
        from = at + placeholder.size();
    }
    text += Pattern.mid(from);
    return text;
}

} // namespace orvex::demo
