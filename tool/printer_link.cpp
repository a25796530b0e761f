#include "tool/printer_link.h"

void DovToolInstallPrinter() {
#if VEMLO_TOOL_HAS_PRINTER
    DovInstallPrinterHooks();
#endif
}
