#include "printer/gen_output.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "lbase/fileutil.h"
#include "lbase/message.h"
#include "lbase/strutil.h"
#include "printer/printer_impl.h"
#include "tree/walk.h"

namespace {

namespace fs = std::filesystem;

// True when the two names denote the same file: the same file on disk, or
// the same path once made absolute and normal.
bool SameFile(const VString& a, const VString& b) {
    std::error_code ec;
    const fs::path pa(a.CStr()), pb(b.CStr());
    if (fs::exists(pa, ec) && fs::exists(pb, ec)) {
        const bool same = fs::equivalent(pa, pb, ec);
        if (!ec) return same;
    }
    const fs::path na = fs::absolute(pa, ec).lexically_normal();
    const fs::path nb = fs::absolute(pb, ec).lexically_normal();
    return na == nb;
}

}  // namespace

VString DovGenOutputName(const VString& input, const DovGenNaming& naming) {
    if (!naming.genFile.IsEmpty()) return naming.genFile;
    if (naming.genMainDir.IsEmpty()) return DovReplaceExtension(input, naming.genSfx);
    VString name = naming.genMainDir;
    name += "/";
    name += input;
    if (!(naming.genSfx == naming.defaultSfx)) name = DovReplaceExtension(name, naming.genSfx);
    return name;
}

int DovCheckGenOutputs(const VStringList& inputs, const DovGenNaming& naming, VString& error) {
    if (!naming.genFile.IsEmpty() && inputs.Count() >= 2) {
        error = DovFormat("Cannot specify one output file '%s' for several input files", naming.genFile.CStr());
        return kDovGenOneFileForSeveral;
    }
    for (const VStringListNode* in = inputs.head; in; in = in->next) {
        const VString output = DovGenOutputName(in->value, naming);
        for (const VStringListNode* other = inputs.head; other; other = other->next) {
            if (SameFile(output, other->value)) {
                error = DovFormat("Output file '%s' would overwrite the input file '%s'", output.CStr(),
                                  other->value.CStr());
                return kDovGenOutputIsInput;
            }
        }
    }
    return 0;
}

int DovMakeGenOutputDirs(const VString& output, VString& error) {
    int err = 0;
    if (DovMkDir(output.CStr(), &err) != 0) {
        error = DovFormat("Cannot create directory for '%s': %s", output.CStr(), std::strerror(err));
        return kDovGenCannotMakeDir;
    }
    return 0;
}

int DovGenerateFile(DovPrettyPrinterImpl& printer, const VString& input, DovExpr* root, const DovGenNaming& naming,
                    VString& output, DovTokenList* messages, VString& error) {
    DovRaiseComments(root);
    output = DovGenOutputName(input, naming);
    if (int rc = DovMakeGenOutputDirs(output, error)) return rc;
    printer.gen_posn = 0;
    return printer.PrintToFile(output, root, messages);
}
