#include "designer/core/insertfields.h"

#include "designer/core/designercore.h"
#include "designer/core/designerglobals.h"
#include "report/core/frcomponents.h"
#include "report/core/frlibrary.h"
#include "report/data/frdataset.h"
#include "report/data/frdb.h"
#include "report/data/frdictionary.h"
#include "report/objects/frbandview.h"
#include "report/objects/frglobals.h"
#include "report/objects/frmemoview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"

#include <cmath>
#include <vector>

namespace designer
{

using report::TfrMemoView;
using report::TfrPage;
using report::TfrView;

QString InsertFieldsLayout::dataSourceName(const report::FrDataSet *dataSet)
{
    const QObject *owner = report::fr().frCurrentReportOwner();
    QStringList names;
    report::frGetComponents(owner, report::TfrDBDataSet::staticMetaObject, names);
    for (const QString &name : names) {
        auto *source = qobject_cast<report::TfrDBDataSet *>(report::frFindComponent(owner, name));
        // A record source without a data set raises here.
        if (source && source->GetDataSet() == dataSet)
            return name;
    }
    return {};
}

int InsertFieldsLayout::displayWidth(int width)
{
    return width <= 0 || width > 255 ? 6 : width;
}

namespace insert_detail
{

int gridDown(int width, int grid)
{
    return grid > 0 ? width / grid * grid : width;
}

int roundHalfEven(double v)
{
    return int(std::nearbyint(v));
}

} // namespace insert_detail

bool InsertFieldsLayout::insert(const InsertFieldsChoice &choice)
{
    using insert_detail::gridDown;
    using insert_detail::roundHalfEven;
    DesignerState &st = m_core.state;
    TfrPage *page = st.page();
    if (!page || st.isDialogPage() || st.DesignMode() != 1 || !choice.dataSet ||
        choice.fields.isEmpty() || DesignerState::restricted(drNoInsertObject))
        return false;
    // The record source is found first: its failure leaves the page as it was.
    const QString source = choice.bands ? dataSourceName(choice.dataSet) : QString();

    const int grid = st.Settings.GridSize;
    const QSize size = m_core.gestures.DefaultObjectSize();
    const LastUsedAttributes &last = designerGlobals().lastUsed;
    const platform::TextMeasurer &measurer = report::frObjects().measurer();
    const int left = page->LeftMarginPos();
    const int topMargin = page->TopMarginPos();
    int x = left, y = topMargin;
    st.UnselectAll();

    auto makeMemo = [&](const QString &text, bool bold, int atX, int atY) {
        auto created = report::frCreateObject(report::otMemo, QString());
        auto *m = static_cast<TfrMemoView *>(created.get());
        m->SetBounds(atX, atY, size.width(), size.height());
        m->Font.Name = last.FontName;
        m->Font.Size = last.FontSize;
        if (bold)
            m->Font.Style |= 2;
        m->Memo = QStringList{text};
        m->Selected = true;
        page->Add(std::move(created));
        m->CreateUniqueName();
        return m;
    };
    auto measure = [&](TfrMemoView *m, const QString &text) {
        return measurer.width(m->Font.canvasFont(), text);
    };

    std::vector<TfrMemoView *> headers, data;
    report::TfrDataDictionary *dictionary = st.Report ? &st.Report->Dictionary() : nullptr;
    for (const QString &item : choice.fields) {
        const QString realName = dictionary ? dictionary->GetRealShortName(item) : item;
        const report::FrField *field = choice.dataSet->findField(realName);
        const int chars = displayWidth(field ? field->displayWidth() : 0);
        const QString label = field ? field->displayLabel() : item;
        const QString expression = QLatin1Char('[') + choice.dataSetName + QStringLiteral(".\"") +
                                   item + QStringLiteral("\"]");
        TfrMemoView *first = makeMemo(choice.headers ? label : expression, choice.headers, x, y);
        const QString dataWidthText(chars, QLatin1Char('='));
        TfrMemoView *dataMemo = first;
        if (choice.headers) {
            first->dx = gridDown(measure(first, label + QStringLiteral("   ")), grid);
            headers.push_back(first);
            const int dataX = choice.horizontal ? x : x + 2 * grid + first->dx;
            const int dataY = choice.horizontal ? y + 72 : y;
            dataMemo = makeMemo(expression, false, dataX, dataY);
            // Measured on the field's first memo's font.
            dataMemo->dx = gridDown(measure(first, dataWidthText), grid);
        } else {
            first->dx = gridDown(measure(first, dataWidthText), grid);
        }
        data.push_back(dataMemo);
        if (choice.horizontal)
            x += grid + dataMemo->dx;
        else
            y += grid + dataMemo->dy;
    }

    // A row wider than the page is squeezed within the margins.
    if (choice.horizontal) {
        const qint64 right = qint64(data.back()->x) + data.back()->dx;
        const qint64 room = qint64(page->RightMarginPos()) - left;
        if (room > 0 && right > room) {
            const double k = double(right) / double(room);
            const int rightMargin = page->RightMarginPos();
            for (size_t i = 0; i < data.size(); ++i) {
                TfrMemoView *d = data[i];
                d->x = left + roundHalfEven((d->x - left) / k);
                d->dx = roundHalfEven(d->dx / k);
                if (qint64(d->x) + d->dx > rightMargin)
                    d->dx = std::max(0, rightMargin - d->x);
                if (!headers.empty()) {
                    TfrMemoView *h = headers[i];
                    h->x = left + roundHalfEven((h->x - left) / k);
                    if (h->dx > d->dx)
                        h->dx = d->dx;
                }
            }
        }
    }

    if (choice.bands) {
        const TfrMemoView *lastOne = headers.empty() ? data.back() : headers.back();
        const int height = lastOne->y + lastOne->dy - topMargin;
        auto makeBand = [&](int type, int top) {
            auto created = report::frCreateObject(report::otBand, QString());
            auto *band = static_cast<report::TfrBandView *>(created.get());
            band->SetBandType(type);
            const QStringList &names = report::fr().frBandNames;
            if (type < names.size())
                band->BaseName = GestureEngine::bandNameBase(names[type]);
            band->SetBounds(0, top, page->PageWidth(), height);
            if (type == report::btMasterData)
                band->FormatStr = source;
            band->Selected = true;
            page->Add(std::move(created));
            band->CreateUniqueName();
        };
        if (choice.headers && choice.horizontal) {
            if (!st.BandTypeUsed(report::btPageHeader))
                makeBand(report::btPageHeader, topMargin);
            makeBand(report::btMasterData, topMargin + 72);
        } else {
            makeBand(report::btMasterData, topMargin);
        }
    }

    st.SortObjects();
    st.SelectedCount = st.countSelected();
    st.computeGroupRect();
    m_core.surface.Draw(10000, std::nullopt);
    st.View.selectionChanged();
    m_core.undo.RecordUndo(ukInserted);
    st.View.undoStateChanged();
    return true;
}

} // namespace designer
