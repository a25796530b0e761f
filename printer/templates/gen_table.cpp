#include <iostream>

#include "lbase/message.h"
#include "printer/printer_impl.h"
#include "printer/print_state.h"
#include "printer/settings.h"
#include "printer/templates/print_templates.h"
#include "tree/expr.h"

namespace {

bool BadCode(unsigned code) { return code == 0 || code >= kDovGenTableSlots; }

// Copies `e` into the chain of `slot` behind its last entry when that entry
// is conditional: true. Behind an unconditional last entry nothing is
// accepted: false.
bool AppendToChain(PrintTemplate& slot, const PrintTemplate& e) {
    PrintTemplate* last = &slot;
    while (last->next) last = last->next;
    if (!last->predicate) return false;
    auto* copy = new PrintTemplate(e);
    copy->fromPrimary = 0;
    copy->next = nullptr;
    last->next = copy;
    return true;
}

void CopyInto(PrintTemplate& slot, const PrintTemplate& e, int fromPrimary) {
    slot.code = e.code;
    slot.predicate = e.predicate;
    slot.text = e.text;
    slot.fromPrimary = static_cast<std::uint16_t>(fromPrimary);
    slot.next = nullptr;
}

}  // namespace

char RecomputeGenTable(DovPrettyPrinterImpl* printer) {
    DovFreeGenTable(printer->gen_table);
    printer->gen_table = new PrintTemplate[kDovGenTableSlots]();
    PrintTemplate* table = printer->gen_table;

    for (int i = 0; i < default_table_size; ++i) {
        PrintTemplate& e = default_table[i];
        if (BadCode(e.code)) {
            DovExpr::AddError(MSG_SEVERE, DovFormat("RecomputeGenTable: bad code %d in default table. ", e.code));
            return '1';
        }
        e.fromPrimary = 0;
        e.next = nullptr;
        PrintTemplate& slot = table[e.code];
        if (!slot.code) {
            CopyInto(slot, e, 0);
        } else if (!AppendToChain(slot, e)) {
            DovExpr::AddError(
                MSG_ERR,
                e.predicate ? DovFormat("RecomputeGenTable: Code %s has conditional definition that follows "
                                        "non-conditional definition in default table. This conditional def is "
                                        "ignored.",
                                        DovOperName(e.code))
                            : DovFormat("RecomputeGenTable: Code %s is doubly defined in default table. Second "
                                        "definition ignored.",
                                        DovOperName(e.code)));
        }
    }

    PrintTemplate* primary = printer->primary_table;
    if (!primary) return 0;
    for (PrintTemplate* p = primary; p->text; ++p) {
        if (BadCode(p->code)) {
            DovExpr::AddError(MSG_ERR, DovFormat("Bad code %d in primary table", p->code));
            return '1';
        }
        p->fromPrimary = 0;
        p->next = nullptr;
        PrintTemplate& slot = table[p->code];
        if (slot.code && !slot.fromPrimary) {
            // The default definition gives way to the primary table's.
            delete slot.next;
            slot = PrintTemplate();
        }
        if (!slot.code) {
            CopyInto(slot, *p, 1);
        } else if (!AppendToChain(slot, *p)) {
            DovExpr::AddError(
                MSG_ERR,
                p->predicate ? DovFormat("RecomputeGenTable: Code %s has conditional definition that follows "
                                         "non-conditional definition in primary table. Conditional def ignored.",
                                         DovOperName(p->code))
                             : DovFormat("RecomputeGenTable: Code %s is doubly defined in primary table. Second "
                                         "definition ignored.",
                                         DovOperName(p->code)));
        }
    }
    return 0;
}

char FindCGentry(PrintTemplate** entry, DovExpr* node) {
    const unsigned code = node ? node->Oper() : 0;
    DovPrettyPrinterImpl* printer = DovPrinting.printer;
    PrintTemplate* slot = nullptr;
    if (printer && printer->gen_table && !BadCode(code)) slot = &printer->gen_table[code];
    *entry = slot;
    if (slot && slot->code) {
        int number = 1;
        for (PrintTemplate* e = slot; e; e = e->next, ++number) {
            if (e->predicate && !e->predicate(node)) continue;
            if (printer->debug_flags & DOV_PDBG_LOOKUP)
                std::cout << DovFormat("FindCGentry: found oper %s, entry #%d in table\n", DovOperName(code), number);
            *entry = e;
            return 0;
        }
    }
    DovExpr::AddError(MSG_ERR, DovFormat("PrettyPrint: cannot find operation %s in the table", DovOperName(code)));
    return '*';
}
