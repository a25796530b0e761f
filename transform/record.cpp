// The base record of a transformation file: the version, the class name,
// the instance name, the reference count, the description and, per
// reference, its name and load flag.
#include <istream>
#include <ostream>

#include "lbase/tic.h"
#include "transform/base.h"

namespace {
const char kVersion[] = "4-2-0";
}  // namespace

void DovTransform::PutTic(std::ostream& os) const {
    int n = ref_count < 0 ? 0 : ref_count > DOV_MAX_TRANSFORM_REFS ? DOV_MAX_TRANSFORM_REFS : ref_count;
    VString(kVersion).PutTic(os, ':');
    ClassName().PutTic(os, ':');
    name.PutTic(os, ':');
    os << n << ':';
    description.PutTic(os, '\n');
    for (int i = 0; i < n; ++i) {
        refs[i].name.PutTic(os, ':');
        os << refs[i].load << '\n';
    }
}

// Reads what follows the version and the class name, which the reader of
// the file has taken to find the class.
char DovTransform::GetTic(std::istream& is, VString& message) {
    char rc = name.GetTic(is, ':', message);
    if (rc) return rc;
    int n = 0;
    if ((rc = GetTicIntNo(is, n, false, ':', message))) return rc;
    // A count past the array is refused before anything is stored; an
    // overlong number has wrapped below zero.
    if (n > DOV_MAX_TRANSFORM_REFS || n < 0) {
        message = DovFormat("DovTransform::GetTic: too many references (%d)", n);
        return TIC_READ_ERROR;
    }
    if ((rc = description.GetTic(is, '\n', message))) return rc;
    ref_count = 0;
    for (int i = 0; i < n; ++i) {
        DovTransformRef& ref = refs[i];
        if ((rc = ref.name.GetTic(is, ':', message))) return rc;
        if ((rc = GetTicIntNo(is, ref.load, false, '\n', message))) return rc;
        ref.transform = nullptr;
        ref.owned = 0;
        ref_count = i + 1;
    }
    return 0;
}
