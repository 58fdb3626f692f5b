#include "designer/core/inspectorprop.h"

#include "platform/format/format.h"
#include "platform/text/convert.h"
#include "platform/text/exceptions.h"
#include "report/core/frlibrary.h"
#include "report/core/frutils.h"

#include <cmath>
#include <limits>

namespace designer
{

using report::FrVariant;

// Named, not anonymous: the module builds as one unity source.
namespace inspprop_detail
{

int indexOfText(const QStringList &list, const QString &text)
{
    for (int i = 0; i < list.size(); ++i)
        if (list[i].compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// A whole number read from a value of any type; false when it has none.
bool wholeNumberOf(const FrVariant &value, qint64 &out)
{
    switch (value.type()) {
    case FrVariant::Boolean:
        out = value.boolValue() ? 1 : 0;
        return true;
    case FrVariant::Integer:
        out = value.intValue();
        return true;
    case FrVariant::Double: {
        const double d = value.doubleValue();
        if (!std::isfinite(d) || std::fabs(d) > 9.0e18)
            return false;
        out = qint64(std::nearbyint(d));
        return true;
    }
    case FrVariant::String:
        return platform::TryStrToInt64(value.stringValue(), out);
    default:
        return false;
    }
}

QString plainText(const FrVariant &value)
{
    switch (value.type()) {
    case FrVariant::Unassigned:
    case FrVariant::Null:
        return QString();
    case FrVariant::Boolean:
        return value.boolValue() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        try {
            return value.toString();
        } catch (const std::exception &) {
            return QString();
        }
    }
}

} // namespace inspprop_detail

QString frColorToText(qint32 color)
{
    const QList<qint32> &values = report::frColorValues();
    for (int i = 0; i < values.size(); ++i)
        if (values[i] == color)
            return report::frColorNames()[i];
    return QLatin1Char('$') +
           QString::number(quint32(color), 16).toUpper().rightJustified(6, QLatin1Char('0'));
}

qint32 frTextToColor(const QString &text)
{
    const int i = inspprop_detail::indexOfText(report::frColorNames(), text.trimmed());
    if (i >= 0)
        return report::frColorValues()[i];
    // Colours are unsigned 32-bit words: system colours lie above 0x7FFFFFFF.
    qint64 n = 0;
    if (platform::TryStrToInt64(text, n) && n >= std::numeric_limits<qint32>::min() &&
        n <= qint64(std::numeric_limits<quint32>::max()))
        return qint32(quint32(n));
    return platform::StrToInt(text); // raises the conversion error
}

QString frInspectorFloatText(double value)
{
    return platform::FloatToStrF(value, platform::TFloatFormat::ffFixed, 4, 2);
}

FrVariant TProp::Value() const
{
    if ((Kind & propString) || ((Kind & propEnum) && ChoiceValues.isEmpty()))
        return FrVariant(ValueText);
    if (Kind & propInteger)
        return FrVariant(platform::StrToInt(ValueText));
    if (Kind & propFloat) {
        const double d = report::frStrToFloat(ValueText);
        if (!std::isfinite(d))
            throw platform::EConvertError(
                QStringLiteral("'%1' n'est pas une valeur en virgule flottante correcte")
                    .arg(ValueText));
        return FrVariant(d);
    }
    if (Kind & propBoolean) {
        const QString u = ValueText.toUpper();
        if (u == QLatin1String("TRUE"))
            return FrVariant(true);
        if (u == QLatin1String("FALSE"))
            return FrVariant(false);
        return FrVariant(!ValueText.isEmpty() && ValueText != QLatin1String("0"));
    }
    if (Kind & propColor)
        return FrVariant(int(frTextToColor(ValueText)));
    if (Kind & propEnum) {
        const int i = inspprop_detail::indexOfText(ChoiceNames, ValueText);
        if (i >= 0 && i < ChoiceValues.size())
            return ChoiceValues[i];
        return FrVariant(platform::StrToInt(ValueText));
    }
    return FrVariant();
}

void TProp::SetValue(const FrVariant &value)
{
    using namespace inspprop_detail;
    ValueText = plainText(value);
    if (ValueText.isEmpty())
        return;
    if (Kind & propFloat) {
        double d = 0;
        if (value.type() == FrVariant::Integer || value.type() == FrVariant::Double)
            d = value.toDouble();
        else if (!platform::TryStrToFloat(
                     QString(ValueText).replace(QLatin1Char('.'), QLatin1Char(',')), d))
            return;
        if (std::isfinite(d))
            ValueText = frInspectorFloatText(d);
        return;
    }
    if (Kind & propBoolean) {
        qint64 n = 0;
        if (value.type() == FrVariant::Boolean)
            ValueText = value.boolValue() ? QStringLiteral("True") : QStringLiteral("False");
        else if (wholeNumberOf(value, n))
            ValueText = n != 0 ? QStringLiteral("True") : QStringLiteral("False");
        return;
    }
    if (Kind & propColor) {
        qint64 n = 0;
        if (wholeNumberOf(value, n))
            ValueText = frColorToText(qint32(quint32(n)));
        return;
    }
    if ((Kind & propEnum) && !ChoiceValues.isEmpty()) {
        qint64 n = 0;
        if (!wholeNumberOf(value, n))
            return;
        // The last matching value names the text.
        for (int i = 0; i < ChoiceValues.size() && i < ChoiceNames.size(); ++i) {
            qint64 v = 0;
            if (wholeNumberOf(ChoiceValues[i], v) && v == n)
                ValueText = ChoiceNames[i];
        }
    }
}

void TPropList::ClearProperties()
{
    m_rows.clear();
}

void TPropList::AddProperty(const QString &name, const FrVariant &value, quint16 kind,
                            const QStringList &choiceNames, const QList<FrVariant> &choiceValues,
                            const report::FrPropEditor &editorProc)
{
    auto prop = std::make_unique<TProp>();
    prop->Kind = kind;
    prop->EditorProc = editorProc;
    prop->ChoiceNames = choiceNames;
    prop->ChoiceValues = choiceValues;
    prop->SetValue(value);
    m_rows.push_back(Row{name, std::move(prop)});
}

int TPropList::indexOf(const QString &name) const
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].name == name)
            return int(i);
    return -1;
}

} // namespace designer
