// Loading the references of a transformation.
#include "lbase/message.h"
#include "transform/base.h"

// A reference with the load flag must hold its transformation by now: names
// are only turned into transformations through the transformation storage,
// which is not part of this library yet. The referenced transformations then
// load their own references, depth first.
char DovTransform::LoadRefs(DovTokenList* msgs) {
    int n = ref_count < DOV_MAX_TRANSFORM_REFS ? ref_count : DOV_MAX_TRANSFORM_REFS;
    for (int i = 0; i < n; ++i) {
        if (!refs[i].load || refs[i].transform) continue;
        if (msgs)
            msgs->AddNewToken(MSG_ERR, DovNullPosn,
                              DovFormat("Cannot find transformation '%s' for load", refs[i].name.CStr()));
        return DOV_TR_NOT_FOUND;
    }
    for (int i = 0; i < n; ++i) {
        if (!refs[i].load || !refs[i].transform) continue;
        if (char rc = refs[i].transform->LoadRefs(msgs)) return rc;
    }
    return 0;
}
