#pragma once
// Shared helpers of the build: the report receiving the prepared pages, the
// stop flag, progress and the build's error notes.
#include "report/core/frlibrary.h"

#include <QString>
#include <QStringList>

namespace report
{

class TfrReport;
class TfrView;

// frMasterReport as a report component (nullptr outside a build).
TfrReport *frBuildMaster();
// The master report was stopped (STOPREPORT, cancel, an error).
bool frBuildTerminated();
// Stops the build as the progress window's "Annuler" does.
void frBuildStop();
// Units of work of the build (a band draw, a record): the message pump runs
// when the library's pace says a yield is due; the caller tests
// frBuildTerminated() where it can stop. Inline: it runs for every record.
void frBuildYield();
inline void frBuildWork(int units)
{
    if (fr().pace.step(units))
        frBuildYield();
}
constexpr int kFrDrawUnits = 16;
constexpr int kFrRecordUnits = 8;
// Reports progress N of the master report.
void frBuildProgress(int n);
// Notes script errors met while setting up: each as "name: error line".
void frNoteScriptErrors(const QString &name, const QStringList &errors);
// The aggregate calls of a text (bracketed expressions) and of coded script
// lines, in the form TfrParser::Calc runs.
void frCollectAggregateCalls(const QStringList &memo, const QStringList &script,
                             QStringList &calls);

} // namespace report
