#include "report/build/frformat.h"

#include "platform/format/format.h"
#include "report/core/frexceptions.h"
#include "report/core/frlibrary.h"
#include "report/expr/frparser.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frreport.h"
#include "report/objects/frview.h"

#include <algorithm>
#include <optional>

namespace report
{

namespace
{

QString valueText(const FrVariant &value)
{
    return value.isNull() || value.isUnassigned() ? QString() : value.toString();
}

QString listEntry(const QStringList &list, int index)
{
    return index >= 0 && index < list.size() ? list.at(index) : QString();
}

// A date-time the calendar can show (years 1 to 9999); others print as they
// are, and so does a pattern whose text would pass the bound of a text.
QString dateText(const QString &pattern, const FrVariant &value)
{
    const double x = value.toDouble();
    if (!(x >= -693593.0 && x < 2958466.0))
        return valueText(value);
    std::optional<QString> text =
        platform::FormatDateTimeWithin(pattern, x, qsizetype(kFrMaxTextLength));
    return text ? std::move(*text) : valueText(value);
}

QString formatted(const FrVariant &value, qint32 format, const QString &formatStr)
{
    const int kind = frFormatKind(format);
    switch (frFormatCategory(format)) {
    case fcNumber: {
        QChar separator = frFormatSeparator(format);
        if (separator.unicode() == 0)
            separator = platform::FormatSettings().DecimalSeparator;
        const int decimals = frFormatDecimals(format);
        const double x = value.toDouble();
        switch (kind) {
        case 0:
            return platform::FormatFloat(
                QStringLiteral("##0.") + QString(decimals, QLatin1Char('#')), x, separator);
        case 1:
            return platform::FloatToStrF(x, platform::TFloatFormat::ffFixed, 15, decimals,
                                         separator);
        case 2:
            return platform::FormatFloat(
                QStringLiteral("#,##0.") + QString(decimals, QLatin1Char('#')), x, separator);
        case 3:
            return platform::FloatToStrF(x, platform::TFloatFormat::ffNumber, 15, decimals,
                                         separator);
        case kFrCustomKind:
            return platform::FormatFloat(formatStr, x, separator);
        default:
            return valueText(value);
        }
    }
    case fcDate: {
        QString pattern;
        if (kind == kFrCustomKind)
            pattern = formatStr;
        else if (kind == 3)
            pattern = platform::FormatSettings().LongDateFormat;
        else if (kind < 3)
            pattern = listEntry(fr().frDateFormats, kind);
        else
            return valueText(value);
        return dateText(pattern, value);
    }
    case fcTime: {
        QString pattern;
        if (kind == kFrCustomKind)
            pattern = formatStr;
        else if (kind < 4)
            pattern = listEntry(fr().frTimeFormats, kind);
        else
            return valueText(value);
        return dateText(pattern, value);
    }
    case fcBoolean: {
        QString pattern;
        if (kind == kFrCustomKind)
            pattern = formatStr;
        else if (kind < 4)
            pattern = listEntry(fr().frBooleanFormats, kind);
        else
            return valueText(value);
        const qsizetype semi = pattern.indexOf(QLatin1Char(';'));
        const QString falseText = semi < 0 ? pattern : pattern.left(semi);
        const QString trueText = semi < 0 ? QString() : pattern.mid(semi + 1);
        return frEquals(value, FrVariant(0)) ? falseText : trueText;
    }
    default:
        return valueText(value);
    }
}

} // namespace

bool frSplitInlineFormat(const QString &text, QString &expression, QString &inlineFormat)
{
    // Most fields have no format of their own: no "#" at all, nothing to read.
    const QChar *chars = text.constData();
    frCountRead(text.size());
    if (std::find(chars, chars + text.size(), QLatin1Char('#')) == chars + text.size())
        return false;
    int found = -1;
    QChar quote;
    for (int i = 0; i + 1 < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char(' ') && text.at(i + 1) == QLatin1Char('#')) {
            found = i;
        }
    }
    if (found < 0)
        return false;
    expression = text.left(found);
    inlineFormat = text.mid(found + 2);
    return true;
}

bool frApplyInlineFormat(const QString &inlineFormat, qint32 &format, QString &formatStr)
{
    if (inlineFormat.isEmpty())
        return false;
    const QChar lead = inlineFormat.at(0).toUpper();
    if (lead == QLatin1Char('N') || lead.isDigit()) {
        int i = lead == QLatin1Char('N') ? 1 : 0;
        int decimals = 0, digits = 0;
        while (i < inlineFormat.size() && inlineFormat.at(i).isDigit() && digits < 3) {
            decimals = decimals * 10 + inlineFormat.at(i).digitValue();
            ++digits;
            ++i;
        }
        if (digits == 0)
            decimals = 2;
        QChar separator = QLatin1Char(',');
        if (i < inlineFormat.size())
            separator = inlineFormat.at(i++);
        if (i != inlineFormat.size() || decimals > 18 || separator.unicode() > 0xFF)
            return false;
        format = frMakeFormat(fcNumber, 1, decimals, separator);
        return true;
    }
    const QString pattern = inlineFormat.mid(1);
    if (pattern.isEmpty())
        return false;
    int category = -1;
    if (lead == QLatin1Char('D'))
        category = fcDate;
    else if (lead == QLatin1Char('T'))
        category = fcTime;
    else if (lead == QLatin1Char('B'))
        category = fcBoolean;
    if (category < 0)
        return false;
    format = frMakeFormat(category, kFrCustomKind, 0, QChar());
    formatStr = pattern;
    return true;
}

QString TfrReport::FormatDisplayValue(const FrVariant &value, qint32 format,
                                      const QString &formatStr)
{
    if (value.isNull() || value.isUnassigned())
        return QString();
    if (value.isString() && value.stringValue().trimmed().isEmpty())
        return QString();
    try {
        return formatted(value, format, formatStr);
    } catch (const std::exception &) {
        return valueText(value);
    }
}

void TfrReport::FormatValue(const QString &expression, QString &result)
{
    FrObjectGlobals &g = frObjects();
    TfrView *view = g.frCurrentView;
    qint32 format = view ? view->Format : 0;
    QString formatStr = view ? view->FormatStr : QString();
    QString expr = expression;
    QString inlineFormat;
    if (frSplitInlineFormat(expression, expr, inlineFormat))
        frApplyInlineFormat(inlineFormat, format, formatStr);

    g.frCurrentValue = FrVariant();
    try {
        TfrParser *parser = fr().frGlobalParser.get();
        if (parser && parser->OnGetValue)
            parser->OnGetValue(expr, g.frCurrentValue);
        else if (parser)
            g.frCurrentValue = parser->Calc(expr);
    } catch (const EParserError &) {
    } catch (const EVariantError &) {
    } catch (const EDivByZero &) {
    } catch (const platform::EConvertError &) {
    } catch (const platform::EInvalidOp &) {
    }

    FrVariant value = g.frCurrentValue;
    if (view && (view->Flags & flHideZeros) && value.isNumeric() && frIsZero(value))
        value = FrVariant(QString());
    if (!g.frAggregatePrepare)
        result = FormatDisplayValue(value, format, formatStr);
}

void TfrReport::BeginColumn(TfrBand *band)
{
    if (OnBeginColumn)
        OnBeginColumn(band);
}

void TfrReport::PrintColumn(int colNo, int &width)
{
    if (OnPrintColumn)
        OnPrintColumn(colNo, width);
}

} // namespace report
