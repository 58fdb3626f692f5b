#pragma once
// The windows of the report library. Called once before the library starts
// (fr().start()): from then on every start installs the library printer over
// the platform's printers, the progress window, the print dialog and the
// display-format dialog into frObjects(); without it the engine runs
// headless with its virtual printer.
namespace report
{

void frUseWindows();
// Installs them now into the running library (tests after resetForTests).
void frInstallWindows();

} // namespace report
