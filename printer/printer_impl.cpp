#include "printer/printer_impl.h"

#include "parser/hooks.h"
#include "printer/print_oper.h"
#include "printer/print_state.h"
#include "printer/slot_posn.h"

PrintTemplate::~PrintTemplate() {
    // The chain behind this entry, one entry at a time.
    PrintTemplate* p = next;
    next = nullptr;
    while (p) {
        PrintTemplate* after = p->next;
        p->next = nullptr;
        delete p;
        p = after;
    }
}

void DovFreeGenTable(PrintTemplate*& table) {
    if (!table) return;
    for (int i = kDovGenTableSlots - 1; i >= 0; --i) {
        delete table[i].next;
        table[i].next = nullptr;
    }
    delete[] table;
    table = nullptr;
}

DovPrettyPrinterImpl::DovPrettyPrinterImpl(const DovPrettyPrinterImpl& other) : DovPrettyPrinter(other) {}

DovPrettyPrinterImpl::DovPrettyPrinterImpl(const DovPrettyPrinter& other) : DovPrettyPrinter(other) {}

DovPrettyPrinterImpl& DovPrettyPrinterImpl::operator=(const DovPrettyPrinterImpl& other) {
    if (this == &other) return *this;
    DovPrettyPrinter::operator=(other);
    DropGenTable();
    return *this;
}

DovPrettyPrinterImpl::~DovPrettyPrinterImpl() {
    // The print state never points at a printer that is gone.
    if (DovPrinting.printer == this) DovPrinting.printer = nullptr;
    DropGenTable();
}

void DovInstallPrinterHooks() {
    DovSlotPosnHook = DovSetSlotPosn;
    DovInstallPrintOperations();
}

namespace {
// Every program that holds a printer links this file, and with it the
// slot-position pass of its parses.
struct InstallAtStartUp {
    InstallAtStartUp() { DovInstallPrinterHooks(); }
} install_at_start_up;
}  // namespace
