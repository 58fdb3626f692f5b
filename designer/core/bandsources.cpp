#include "designer/core/bandsources.h"

#include "report/core/frlibrary.h"
#include "report/core/frlocale.h"
#include "report/core/frutils.h"
#include "report/data/frdictionary.h"
#include "report/objects/frbandview.h"
#include "report/objects/frpage.h"

#include <QHash>

namespace designer
{

namespace bandsources_detail
{

// Bands a cross band does not cross.
bool crossedType(int type)
{
    switch (type) {
    case report::btReportTitle:
    case report::btReportSummary:
    case report::btPageHeader:
    case report::btPageFooter:
    case report::btOverlay:
    case report::btCrossHeader:
    case report::btCrossData:
    case report::btCrossFooter:
        return false;
    default:
        return type >= 0 && type < report::btNone;
    }
}

} // namespace bandsources_detail

QStringList bandSourceItems(const report::TfrDataDictionary &dictionary)
{
    QStringList sources;
    dictionary.GetBandDataSourceList(sources);
    QStringList items{report::frLoadString(55076), report::frLoadString(55333)};
    items.append(sources);
    return items;
}

bool isRecordCount(const QString &text)
{
    return !text.isEmpty() && text.at(0) >= QLatin1Char('1') && text.at(0) <= QLatin1Char('9');
}

BandSourceChoice classifyBandSource(const QString &text, const QStringList &items,
                                    const report::TfrDataDictionary &dictionary)
{
    BandSourceChoice choice;
    if (isRecordCount(text)) {
        choice.item = 1;
        choice.count = text;
        return choice;
    }
    // A source listed without an alias is listed by its own name.
    QString alias = dictionary.GetAliasName(text);
    if (alias.isEmpty())
        alias = text;
    for (int i = 2; i < items.size(); ++i) {
        if (report::frSameText(items.at(i), alias)) {
            choice.item = i;
            break;
        }
    }
    return choice;
}

QString bandSourceText(const BandSourceChoice &choice, const QStringList &items,
                       const report::TfrDataDictionary &dictionary)
{
    if (choice.item == 1)
        return choice.count;
    if (choice.item < 0 || choice.item >= items.size())
        return QString();
    return dictionary.GetRealDataSourceName(items.at(choice.item));
}

QString CrossSourceRow::text() const
{
    const QStringList &names = report::fr().frBandNames;
    return name + QStringLiteral(": ") +
           (type >= 0 && type < names.size() ? names.at(type) : QString());
}

std::vector<CrossSourceRow> crossSourceRows(const report::TfrPage &page, const QString &text)
{
    // The items are read once into a map (the first of a name wins), each
    // name whole: a band's name inside another's is never taken for it.
    const bool single = !text.contains(QLatin1Char(';'));
    QHash<QString, QString> items;
    if (!single) {
        for (const QString &item : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const qsizetype eq = item.indexOf(QLatin1Char('='));
            if (eq <= 0)
                continue;
            const QString name = report::frUpperCase(item.left(eq));
            if (!items.contains(name))
                items.insert(name, item.mid(eq + 1));
        }
    }
    std::vector<CrossSourceRow> rows;
    for (const auto &object : page.Objects) {
        const auto *band = dynamic_cast<const report::TfrBandView *>(object.get());
        if (!band || !bandsources_detail::crossedType(band->GetBandType()))
            continue;
        CrossSourceRow row{band->Name, band->GetBandType(), QString()};
        if (single)
            row.value = text;
        else
            row.value = items.value(report::frUpperCase(band->Name), QStringLiteral("0"));
        rows.push_back(row);
    }
    return rows;
}

QString buildCrossSources(const std::vector<CrossSourceRow> &rows)
{
    QString text;
    for (const CrossSourceRow &row : rows)
        text += row.name + QLatin1Char('=') + row.value + QLatin1Char(';');
    return text;
}

bool bandTypeRepeatable(int type)
{
    return (type >= report::btMasterHeader && type <= report::btSubDetailFooter) ||
           type == report::btGroupHeader || type == report::btGroupFooter ||
           type == report::btChild;
}

bool bandTypeAvailable(int type, bool usedOnPage, bool subreportTarget)
{
    if (subreportTarget && ((type >= report::btReportTitle && type <= report::btPageFooter) ||
                            (type >= report::btColumnHeader && type <= report::btGroupFooter)))
        return false;
    return bandTypeRepeatable(type) || !usedOnPage;
}

} // namespace designer
