#pragma once
// A report that chains other reports into one prepared document: one
// preview, one print job, one page numbering. Its own template is not used.
#include "report/objects/frreport.h"

#include <QList>
#include <QPointer>

namespace report
{

class TfrCompositeReport : public TfrReport
{
public:
    explicit TfrCompositeReport(QObject *owner = nullptr);

    // Builds every member in turn into this report's prepared pages, once per
    // record of Dataset when it is set.
    void BuildPreparedPages() override;
    std::vector<TfrReport *> BuildMembers() const override;

    // In building order; not owned (a member destroyed meanwhile is skipped).
    QList<QPointer<TfrReport>> Members;
};

} // namespace report
