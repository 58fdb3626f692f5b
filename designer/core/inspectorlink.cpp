#include "designer/core/inspectorlink.h"

#include "designer/core/designercore.h"
#include "designer/core/pagecommands.h"

#include "platform/dialogs/dialogs.h"
#include "platform/text/exceptions.h"
#include "report/core/frlocale.h"
#include "report/core/frutils.h"
#include "report/objects/frbandview.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"
#include "report/objects/frview.h"

#include <QObject>
#include <algorithm>
#include <cmath>

namespace designer
{

using report::FrVariant;
using report::TfrObject;
using report::TfrPage;
using report::TfrView;

namespace insplink_detail
{

std::vector<TfrView *> selectedViews(const TfrPage &page)
{
    std::vector<TfrView *> out;
    for (const auto &v : page.Objects)
        if (v->Selected)
            out.push_back(v.get());
    return out;
}

const report::TfrPropRec *findIn(const std::vector<report::TfrPropRec> &list, size_t hint,
                                 const QString &name)
{
    // Objects of one class list their properties in one order: try the same
    // place first.
    if (hint < list.size() && list[hint].Name == name)
        return &list[hint];
    for (const report::TfrPropRec &rec : list)
        if (report::frSameText(rec.Name, name))
            return &rec;
    return nullptr;
}

bool isGeometry(const QString &name, const char *a, const char *b)
{
    return report::frSameText(name, QLatin1String(a)) || report::frSameText(name, QLatin1String(b));
}

// A page value typed beyond what a page can be, refused as the page options
// refuse it, naming the field; nothing for the other rows. px: the value in
// pixels as typed, not yet clamped.
std::optional<QString> pageValueRefusal(const QString &name, double px, const FrVariant &value,
                                        const QString &typed)
{
    const std::pair<const char *, PageOptionsField> lengths[] = {
        {"Width", PageOptionsField::Width},       {"Height", PageOptionsField::Height},
        {"LeftMargin", PageOptionsField::Left},   {"TopMargin", PageOptionsField::Top},
        {"RightMargin", PageOptionsField::Right}, {"BottomMargin", PageOptionsField::Bottom},
        {"ColumnGap", PageOptionsField::Gap}};
    for (const auto &[property, field] : lengths) {
        if (!report::frSameText(name, QLatin1String(property)))
            continue;
        const bool paper = field == PageOptionsField::Width || field == PageOptionsField::Height;
        // Whole pixels, then tenths of a millimetre for the paper, as stored.
        const double stored = paper ? std::nearbyint(px) * 50.0 / 18.0 : px;
        if (std::isfinite(px) && frPageLengthFits(field, stored))
            return std::nullopt;
        return frPageLengthRefusal(field, typed);
    }
    if (report::frSameText(name, QLatin1String("Columns"))) {
        const int columns = value.toInt();
        if (columns < 0 || columns > kFrMaxPageColumns)
            return frPageColumnsRefusal(typed);
    }
    return std::nullopt;
}

} // namespace insplink_detail

void InspectorLink::Fill(TPropList &rows)
{
    using namespace insplink_detail;
    DesignerState &st = m_core.state;
    rows.ClearProperties();
    rows.InspectedObject = nullptr;
    rows.InspectedObjectName.clear();
    rows.InspectedClassName.clear();
    TfrPage *page = st.page();
    if (!page)
        return;
    const bool dialog = st.isDialogPage();
    std::vector<TfrObject *> objects;
    const std::vector<TfrView *> views = selectedViews(*page);
    if (views.empty()) {
        // A page's list depends on its type.
        page->ClearPropertyList();
        objects.push_back(page);
        rows.InspectedObject = page;
        rows.InspectedObjectName = QStringLiteral("Page%1").arg(st.CurPage + 1);
        rows.InspectedClassName = QStringLiteral("TfrPage");
    } else {
        for (TfrView *v : views) {
            // A band lists the other bands of its page as choices.
            if (v->Typ == report::otBand)
                v->ClearPropertyList();
            objects.push_back(v);
        }
        if (views.size() == 1) {
            rows.InspectedObject = views.front();
            rows.InspectedObjectName = views.front()->Name;
            rows.InspectedClassName = views.front()->ClassName();
        }
    }
    const bool single = objects.size() == 1;
    const std::vector<report::TfrPropRec> &first = objects.front()->PropertyList();
    std::vector<const std::vector<report::TfrPropRec> *> lists;
    lists.reserve(objects.size());
    for (TfrObject *o : objects)
        lists.push_back(&o->PropertyList());

    for (size_t r = 0; r < first.size(); ++r) {
        const report::TfrPropRec &rec = first[r];
        quint16 kind = rec.PropType;
        if (kind == 0 || (!single && (kind & propOneObject)))
            continue;
        bool shared = true;
        for (size_t i = 1; i < lists.size() && shared; ++i)
            shared = findIn(*lists[i], r, rec.Name) != nullptr;
        if (!shared)
            continue;
        FrVariant value;
        if ((kind & propEditor) && !(kind & propString)) {
            value = FrVariant(QLatin1Char('(') + rec.Name + QLatin1Char(')'));
        } else {
            value = objects.front()->GetPropertyValue(rec.Name);
            for (size_t i = 1; i < objects.size(); ++i)
                if (!objects[i]->GetPropertyValue(rec.Name).identical(value)) {
                    value = FrVariant();
                    break;
                }
            if ((kind & propSize) && !dialog && value.isNumeric() && st.Settings.Units != 0)
                value = FrVariant(st.PixelsToUnits(value.toDouble()));
        }
        if (kind == propSize)
            kind |= (dialog || st.Settings.Units == 0) ? propInteger : propFloat;
        rows.AddProperty(rec.Name, value, kind, rec.Enum, rec.EnumValues, rec.PropEditor);
    }
}

FrVariant InspectorLink::sizeToPixels(const FrVariant &value, bool wholePixels) const
{
    const DesignerState &st = m_core.state;
    double px = value.toDouble();
    if (!st.isDialogPage())
        px = st.UnitsToPixels(px);
    // Whatever was typed, the object stays within the range kept for files.
    const double limit = report::kFrMaxGeometry;
    px = std::isfinite(px) ? std::clamp(px, -limit, limit) : 0.0;
    if (wholePixels)
        return FrVariant(int(report::frClampGeometry(qint64(std::nearbyint(px)))));
    return FrVariant(px);
}

bool InspectorLink::PropertyModified(const TPropList &rows, int index)
{
    using namespace insplink_detail;
    DesignerState &st = m_core.state;
    TfrPage *page = st.page();
    if (!page || index < 0 || index >= rows.count())
        return false;
    const QString name = rows.Items(index);
    const TProp &prop = rows.Prop(index);
    FrVariant value;
    // An unreadable text is refused before anything is recorded or changed.
    try {
        value = prop.Value();
    } catch (const platform::Exception &e) {
        platform::MessageDlg(e.Message(), platform::mtError, platform::mbOK);
        return false;
    }
    const std::vector<TfrView *> views = selectedViews(*page);
    TfrObject *target = views.empty() ? static_cast<TfrObject *>(page) : views.front();
    if (views.empty() && !st.isDialogPage()) {
        const double px = (prop.Kind & propSize) ? st.UnitsToPixels(value.toDouble()) : 0.0;
        if (const std::optional<QString> refusal =
                pageValueRefusal(name, px, value, prop.ValueText)) {
            platform::MessageDlg(*refusal, platform::mtError, platform::mbOK);
            return false;
        }
    }
    if (prop.Kind & propSize) {
        const report::TfrPropRec *rec = target->FindProperty(name);
        value = sizeToPixels(value, !(rec && (rec->PropType & propFloat)));
    }
    if (views.empty())
        return modifyPage(name, value);

    if (DesignerState::restricted(drNoAttributeChange))
        return false;
    if (report::frSameText(name, QLatin1String("Name")))
        return renameObject(value.toString());
    m_core.undo.RecordUndo(ukEdited);
    const bool move = isGeometry(name, "Left", "Top");
    const bool size = isGeometry(name, "Width", "Height");
    for (TfrView *v : views) {
        if (move && (DesignerState::restricted(drNoMove) || (v->Restrictions & frrfDontMove)))
            continue;
        if (size && (DesignerState::restricted(drNoResize) || (v->Restrictions & frrfDontSize)))
            continue;
        v->SetPropertyValue(name, value);
    }
    st.View.undoStateChanged();
    m_core.surface.Draw(10000, std::nullopt);
    st.View.selectionChanged();
    return true;
}

bool InspectorLink::renameObject(const QString &newName)
{
    DesignerState &st = m_core.state;
    TfrPage *page = st.page();
    const std::vector<TfrView *> views = insplink_detail::selectedViews(*page);
    if (views.size() != 1)
        return false;
    TfrView *v = views.front();
    // A blank name could never be found again by name.
    if (newName.trimmed().isEmpty() || (v->Restrictions & frrfDontModify))
        return false;
    const QString oldName = v->Name;
    report::TfrPages *pages = st.Report ? &st.Report->Pages() : nullptr;
    auto taken = [&](TfrPage *p) {
        for (const auto &o : p->Objects)
            if (o.get() != v && report::frSameText(o->Name, newName))
                return true;
        return false;
    };
    if (pages) {
        for (int i = 0; i < pages->Count(); ++i)
            if (TfrPage *p = (*pages)[i]; p && taken(p))
                return false;
    } else if (taken(page)) {
        return false;
    }
    // A dialog control's name is also a component name of its form.
    if (v->IsDialogControl())
        if (QObject *form = page->DialogForm()) {
            const QList<QObject *> parts = form->findChildren<QObject *>();
            for (QObject *o : parts) {
                const QString n = o->objectName();
                if (!report::frSameText(n, oldName) && report::frSameText(n, newName))
                    return false;
            }
        }
    // The bands of this page that name it, as their child band or as the
    // data band of their group, change with it: one undo must give them
    // back their link too. Both are looked for on the band's own page, so a
    // band of another page naming the old name never meant this one.
    const auto names = [&oldName](const QString &link) {
        return !link.isEmpty() && report::frSameText(link, oldName);
    };
    std::vector<TfrView *> changed{v};
    for (const auto &o : page->Objects)
        if (auto *band = dynamic_cast<report::TfrBandView *>(o.get()))
            if (band != v && (names(band->ChildBand) || names(band->Master)))
                changed.push_back(band);
    m_core.undo.RecordObjects(ukEdited, changed);
    v->SetPropertyValue(QStringLiteral("Name"), FrVariant(newName));
    for (TfrView *o : changed)
        if (o != v) {
            auto *band = static_cast<report::TfrBandView *>(o);
            if (names(band->ChildBand))
                band->ChildBand = v->Name;
            if (names(band->Master))
                band->Master = v->Name;
            band->ClearPropertyList();
        }
    st.View.undoStateChanged();
    st.View.pageTabsChanged();
    m_core.surface.Draw(10000, std::nullopt);
    st.View.selectionChanged();
    return true;
}

bool InspectorLink::modifyPage(const QString &name, const FrVariant &value)
{
    DesignerState &st = m_core.state;
    TfrPage *page = st.page();
    if (DesignerState::restricted(drNoPageOptions))
        return false;
    if (report::frSameText(name, QLatin1String("Type"))) {
        const int type = value.toInt();
        if (type != page->PageTypeValue && page->ObjectCount() > 0) {
            if (platform::MessageDlgWithCaption(
                    report::frLoadString(55473), report::frLoadString(55472), platform::mtWarning,
                    platform::mbYes | platform::mbNo) != platform::mrYes)
                return false;
            // Undo entries would point at the objects deleted now.
            st.UnselectAll();
            st.setLastSelected(nullptr);
            page->Clear();
            m_core.undo.ClearUndoBuffer();
            m_core.undo.ClearRedoBuffer();
            st.View.undoStateChanged();
        }
    }
    page->SetPropertyValue(name, value);
    page->ClearPropertyList();
    st.setModified(true);
    page->ChangePaper(page->Size, page->PaperWidth, page->PaperHeight, page->Bin,
                      page->Orientation);
    st.View.pageTabsChanged();
    st.View.showPage(st.CurPage);
    return true;
}

QStringList InspectorLink::ObjectList() const
{
    QStringList names;
    const DesignerState &st = m_core.state;
    if (TfrPage *page = st.page())
        for (const auto &v : page->Objects)
            names << v->Name;
    const int pages = st.Report ? st.Report->Pages().Count() : 0;
    for (int i = 1; i <= pages; ++i)
        names << QStringLiteral("Page%1").arg(i);
    return names;
}

void InspectorLink::ObjectSelected(const QString &name)
{
    m_core.SelectByName(name);
}

} // namespace designer
