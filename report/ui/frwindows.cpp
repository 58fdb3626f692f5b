#include "report/ui/frwindows.h"

#include "report/core/frlibrary.h"
#include "report/objects/frchartview.h"
#include "report/objects/frcheckboxview.h"
#include "report/objects/frglobals.h"
#include "report/print/frprinter.h"
#include "report/ui/frchartform.h"
#include "report/ui/frdialogform.h"
#include "report/ui/frfmtform.h"
#include "report/ui/frpreview.h"
#include "report/ui/frprintform.h"
#include "report/ui/frprogressform.h"

namespace report
{

namespace
{

void startWindows(FrLibrary &)
{
    frInstallWindows();
}

void endWindows(FrLibrary &) {}

} // namespace

void frInstallWindows()
{
    FrObjectGlobals &g = frObjects();
    auto printer = std::make_unique<TfrPrinter>();
    printer->SetPrinter();
    g.setPrinter(std::move(printer));
    g.setProgressWindow(std::make_unique<TfrProgressForm>());
    g.setPrintDialog(std::make_unique<FrPrintFormDialog>());
    frInstallFormatDialog();
    frInstallPreview();
    frInstallDialogForm();
    frInstallChartEditor();
    frRegisterCheckBoxView();
    frRegisterChartView();
}

void frUseWindows()
{
    static const bool hooked = (FrLibrary::addLayerHooks(&startWindows, &endWindows), true);
    Q_UNUSED(hooked);
}

} // namespace report
