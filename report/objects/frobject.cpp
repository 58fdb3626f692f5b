#include "report/objects/frobject.h"

#include "report/core/frutils.h"
#include "report/data/frdb.h"
#include "report/objects/frlinks.h"
#include "report/objects/frview.h"

namespace report
{

TfrObject::~TfrObject() = default;

void TfrObject::SetPropertyValue(const QString &, const FrVariant &) {}

FrVariant TfrObject::GetPropertyValue(const QString &)
{
    return FrVariant::null();
}

FrVariant TfrObject::CallMethod(const QString &, const FrVariant &, const FrVariant &,
                                const FrVariant &)
{
    return FrVariant::null();
}

void TfrObject::DefinePropertyList() {}

void TfrObject::AddProperty(const QString &name, quint16 propType, FrPropEditor editor)
{
    TfrPropRec rec;
    rec.Name = name.left(32);
    rec.PropType = propType;
    rec.PropEditor = std::move(editor);
    m_props.push_back(std::move(rec));
}

void TfrObject::AddEnumProperty(const QString &name, const QString &names,
                                const QList<FrVariant> &values)
{
    TfrPropRec rec;
    rec.Name = name.left(32);
    rec.PropType = frptEnum;
    frSplitList(names, rec.Enum);
    rec.EnumValues = values;
    m_props.push_back(std::move(rec));
}

const std::vector<TfrPropRec> &TfrObject::PropertyList()
{
    if (m_props.empty())
        DefinePropertyList();
    return m_props;
}

TfrPropRec *TfrObject::FindProperty(const QString &name)
{
    PropertyList();
    for (TfrPropRec &rec : m_props)
        if (frSameText(rec.Name, name))
            return &rec;
    return nullptr;
}

TfrView *FrPageLink::FindObject(const QString &name) const
{
    for (int i = 0; i < ObjectCount(); ++i) {
        TfrView *v = Object(i);
        if (v && frSameText(v->Name, name))
            return v;
    }
    return nullptr;
}

TfrBand *FrPageLink::BandOfType(int) const
{
    return nullptr;
}

TfrView *FrReportLink::FindObject(const QString &name) const
{
    for (int i = 0; i < PageCount(); ++i)
        if (FrPageLink *page = Page(i))
            if (TfrView *v = page->FindObject(name))
                return v;
    return nullptr;
}

void FrReportLink::BeforePrintObject(QStringList &, TfrView *view)
{
    if (!view || !view->DataSet || view->DataField.isEmpty())
        return;
    const FrField *field = view->DataSet->findField(view->DataField);
    if (field && frIsBlobField(field))
        view->LoadFromBlobField(field);
}

} // namespace report
