#pragma once
// A report over a counted record source (N records, no data set) with one
// page and no progress window: what the preparation benchmarks start from.
#include "report/data/frdataset.h"
#include "report/objects/frpage.h"
#include "report/objects/frreport.h"

#include <memory>

struct CountedReport {
    std::unique_ptr<report::TfrReport> report;
    std::unique_ptr<report::TfrUserDataset> source;

    explicit CountedReport(int records)
        : report(std::make_unique<report::TfrReport>()),
          source(std::make_unique<report::TfrUserDataset>())
    {
        source->RangeEnd = report::reCount;
        source->RangeEndCount = records;
        report->ShowProgress = false;
        report->setDataset(source.get());
        report->Pages().Add();
    }
    report::TfrPage &page() { return *report->Pages()[0]; }
};
