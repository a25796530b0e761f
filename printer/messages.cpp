#include "printer/messages.h"

#include <iostream>

#include "lbase/message.h"
#include "printer/print_state.h"
#include "printer/printer_impl.h"
#include "tree/expr.h"
#include "tree/walk.h"

DovToken* DovMakeNodeMessage(const DovExpr* node, int severity, const VString& text) {
    const DovTxtPosn at = DovSrcPosnBeg(const_cast<DovExpr*>(node));
    const char* op = node ? DovOperName(node->Oper()) : "-NULL-";
    VString image = DovFormat("%s: %s: ", DovTxtPosnStr(at).CStr(), op);
    image += text;
    return new DovToken(severity, image, DovTxtPosnRange{at, at});
}

void DovPostPrinterMessage(DovToken* token, DovTokenList* list, const DovPrettyPrinter* echo, const char* who) {
    if (!list) {
        delete token;
        if (DovMessageHook)
            DovMessageHook(MSG_TERMINAL, DovNullPosn, DovFormat("%s: no list of error messages specified", who));
        return;
    }
    if (echo && echo->debug_flags) std::cout << "ERROR: " << *token << std::endl;
    list->AppendToken(token);
}

void DovExpr::AddPError(int severity, const VString& text) {
    if (!DovPrinting.messages) {
        DovPostPrinterMessage(nullptr, nullptr, nullptr, "DovExpr::AddPError");
        return;
    }
    DovPostPrinterMessage(DovMakeNodeMessage(this, severity, text), DovPrinting.messages, DovPrinting.printer,
                          "DovExpr::AddPError");
}

void DovExpr::AddError(int severity, const VString& text) {
    if (!DovPrinting.messages) {
        DovPostPrinterMessage(nullptr, nullptr, nullptr, "DovExpr::AddError");
        return;
    }
    auto* token = new DovToken(severity, text, DovTxtPosnRange{DovNullPosn, DovNullPosn});
    DovPostPrinterMessage(token, DovPrinting.messages, DovPrinting.printer, "DovExpr::AddError");
}
