// STAND-INS for the print passes, which the printer-output work provides
// (printer/print_pass.cpp). Until then every pass keeps the one-pass rule
// and then reports that printing is not available. Delete this file when
// the passes arrive.
#include "lbase/message.h"
#include "printer/print_state.h"
#include "printer/printer_impl.h"
#include "tree/expr.h"

namespace {

constexpr int kNotAvailable = 13;

int Unavailable(DovPrettyPrinterImpl* printer, DovExpr* node, DovTokenList* messages, const char* pass) {
    const int rc = DovBeginPrintPass(printer, messages, node);
    if (rc != 0) return rc;
    const VString text = DovFormat("%s: printing is not available in this build", pass);
    if (node)
        node->AddPError(MSG_SEVERE, text);
    else
        DovExpr::AddError(MSG_SEVERE, text);
    DovEndPrintPass();
    return kNotAvailable;
}

}  // namespace

int DovPrettyPrinterImpl::PrintToFile(const VString&, DovExpr* root, DovTokenList* messages) {
    return Unavailable(this, root, messages, "PrettyPrint");
}

int DovPrettyPrinterImpl::PrintToString(VString& text, DovExpr* root, DovTokenList* messages) {
    text = VString();
    return Unavailable(this, root, messages, "PrettyPrint");
}

int DovPrettyPrinterImpl::PrettyPrint(std::ostream&, DovExpr* root, DovTokenList* messages) {
    return Unavailable(this, root, messages, "PrettyPrint");
}

int DovPrettyPrinterImpl::FragmentPrint(std::ostream&, DovExpr* node, DovTokenList* messages) {
    return Unavailable(this, node, messages, "FragmentPrint");
}
