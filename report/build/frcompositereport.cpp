#include "report/build/frcompositereport.h"

#include "report/core/frlibrary.h"
#include "report/core/frstream.h"
#include "report/data/frdataset.h"
#include "report/objects/frglobals.h"
#include "report/objects/frpage.h"

namespace report
{

TfrCompositeReport::TfrCompositeReport(QObject *owner) : TfrReport(owner) {}

std::vector<TfrReport *> TfrCompositeReport::BuildMembers() const
{
    std::vector<TfrReport *> members;
    for (const QPointer<TfrReport> &m : Members)
        if (m && m.data() != this)
            members.push_back(m.data());
    return members;
}

void TfrCompositeReport::BuildPreparedPages()
{
    FrObjectGlobals &g = frObjects();
    CanRebuild = true;
    fr().frPageNo = 0;
    const std::vector<TfrReport *> members = BuildMembers();
    // The composite's own records repeat the whole chain, whatever its
    // report type says.
    TfrDataset *source = Dataset();
    if (source) {
        source->Init();
        source->First();
    }
    for (;;) {
        for (size_t i = 0; i < members.size(); ++i) {
            TfrReport *member = members[i];
            // Each record builds the member from its template as it was.
            FrMemoryStream saved;
            if (source)
                member->SaveToStream(saved);
            TfrReport *next = i + 1 < members.size() ? members[i + 1] : nullptr;
            const TfrPage *first =
                next && next->Pages().Count() > 0 ? next->Pages().GetPage(0) : nullptr;
            // The last page stays open when the next member continues on it.
            member->ContinueLastPage = first && first->PrintToPrevPage != 0;
            if (member->OnBeginDoc)
                member->OnBeginDoc();
            member->BuildPreparedPages();
            if (FinalPass && member->OnEndDoc)
                member->OnEndDoc();
            // frAppendPage, set by the member's last page, carries the next
            // member onto that page.
            member->ContinueLastPage = false;
            if (source) {
                saved.seek(0);
                member->LoadFromStream(saved);
            }
            if (Cancelled)
                break;
        }
        if (!source || Cancelled)
            break;
        source->Next();
        if (source->Eof())
            break;
    }
    if (source)
        source->Exit();
    g.frCurrentPage = nullptr;
    makeCurrent();
}

} // namespace report
