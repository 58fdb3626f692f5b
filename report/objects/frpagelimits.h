#pragma once
// What a report page can be, as the designer's page options accept it and
// the prepared-report reader checks it: a paper of 1 mm to 10 m (the sheets
// the printer layer handles), margins and a column gap of 0 to 10 m, at most
// 999 columns. Beyond, a size no longer fits the page's 32-bit fields once
// scaled for drawing.
#include "platform/printer/printdevice.h"

namespace report
{

constexpr int kFrMinPaperTenths = platform::kMinPaperTenths;
constexpr int kFrMaxPaperTenths = platform::kMaxPaperTenths;
// Margins and the column gap are kept in report pixels (18 make 5 mm).
constexpr int kFrMaxPageLengthPixels = 36000;
constexpr int kFrMaxPageColumns = 999;

// Whether a stored length lies within those bounds: tenths of a millimetre
// for the paper's width or height, else report pixels (a margin, the gap).
// A NaN lies within none.
constexpr bool frPageLengthWithin(bool paper, double v)
{
    return paper ? v >= kFrMinPaperTenths && v <= kFrMaxPaperTenths
                 : v >= 0 && v <= kFrMaxPageLengthPixels;
}

} // namespace report
