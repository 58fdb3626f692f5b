#include "platform/format/format.h"

namespace platform
{

const TFormatSettings &FormatSettings()
{
    static const TFormatSettings settings = [] {
        TFormatSettings s;
        s.DecimalSeparator = QLatin1Char(',');
        s.ThousandSeparator = QLatin1Char(' ');
        s.DateSeparator = QLatin1Char('/');
        s.TimeSeparator = QLatin1Char(':');
        s.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
        s.LongDateFormat = QStringLiteral("dddd d mmmm yyyy");
        s.ShortTimeFormat = QStringLiteral("hh:nn");
        s.LongTimeFormat = QStringLiteral("hh:nn:ss");
        s.CurrencyString = QString::fromUtf8("€");
        s.CurrencyDecimals = 2;
        s.ShortMonthNames = QString::fromUtf8("janv.|févr.|mars|avr.|mai|juin|juil.|août|sept.|"
                                              "oct.|nov.|déc.")
                                .split(QLatin1Char('|'));
        s.LongMonthNames = QString::fromUtf8("janvier|février|mars|avril|mai|juin|juillet|août|"
                                             "septembre|octobre|novembre|décembre")
                               .split(QLatin1Char('|'));
        s.ShortDayNames =
            QStringLiteral("Dim.|Lun.|Mar.|Mer.|Jeu.|Ven.|Sam.").split(QLatin1Char('|'));
        s.LongDayNames = QStringLiteral("Dimanche|Lundi|Mardi|Mercredi|Jeudi|Vendredi|Samedi")
                             .split(QLatin1Char('|'));
        return s;
    }();
    return settings;
}

namespace detail
{
thread_local std::uint64_t textSteps = 0;
} // namespace detail

std::uint64_t TextSteps()
{
    return detail::textSteps;
}

} // namespace platform
