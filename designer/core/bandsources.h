#pragma once
// The rules of the band editors, without widgets: what a band's record
// source text means (none, a record count, a record source), the
// "name=value;" list a cross band keeps for the bands it crosses, and which
// band types a new band may take on a page.
#include <QString>
#include <QStringList>
#include <vector>

namespace report
{
class TfrDataDictionary;
class TfrPage;
} // namespace report

namespace designer
{

// The picker's items: "[Aucun]", "Source virtuelle", then the record
// sources as the dictionary lists them (by alias, sorted).
QStringList bandSourceItems(const report::TfrDataDictionary &dictionary);
// A text starting with 1..9 is a record count.
bool isRecordCount(const QString &text);

// A source text as the picker shows it: its item and, for item 1, the count.
struct BandSourceChoice {
    int item = 0;
    QString count;
};
BandSourceChoice classifyBandSource(const QString &text, const QStringList &items,
                                    const report::TfrDataDictionary &dictionary);
// What the picker stores: the count for item 1, else the record source
// behind the item (item 0 stores its own text, which names no source).
QString bandSourceText(const BandSourceChoice &choice, const QStringList &items,
                       const report::TfrDataDictionary &dictionary);

// One band a cross band crosses, with its source text.
struct CrossSourceRow {
    QString name;
    int type = 0;
    QString value;
    // name + ": " + the band type's text.
    QString text() const;
};
// The bands of the page a cross band crosses, in page order, each with
// its value from the text: its own item, else the whole text when it holds
// no ";", else "0".
std::vector<CrossSourceRow> crossSourceRows(const report::TfrPage &page, const QString &text);
QString buildCrossSources(const std::vector<CrossSourceRow> &rows);

// Whether a band of a type may be added: repeatable types always, the
// others while the page has none; on a subreport's page the title,
// summary, page and column bands, and the group bands, never.
bool bandTypeRepeatable(int type);
bool bandTypeAvailable(int type, bool usedOnPage, bool subreportTarget);

} // namespace designer
