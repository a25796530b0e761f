// vemlo: finds things in COBOL source with a query.
#include "grammar/cobol_grammar.h"
#include "lbase/message.h"
#include "printer/printer_impl.h"
#include "transform/grep/grep.h"
#include "tool/tool.h"

int main(int argc, char** argv) {
    DovInstallGrammar();
    DovInstallPrinterHooks();

    // The grep is the program's own, not one of the registry's; DovExit ends
    // the process without destroying it.
    WyrGrep grep;
#ifndef __SANITIZE_ADDRESS__
    // The process ends with the run, so the last tree is left to that end;
    // under the leak checker it is deleted, as every other tree is.
    DovTheTool.free_last_tree = false;
#endif
    const DovDials allowed = DovAllDials();
    const int result = RunTool(DovTheTool, argc, argv, allowed, DIAL_ANSI85, DIAL_NONE, nullptr, nullptr, ".xxx",
                               &grep, 1, 0, 1);
    DovExit(result & 0xff);
}
