// References between transformations: the reference entry, the reference
// array of a transformation, and loading the references through the
// transformation storage.
#include "lbase/message.h"
#include "transform/base.h"
#include "transform/storage.h"

namespace {

// The transformations whose LoadRefs is running, outermost first: one met
// again closes a cycle of references.
struct LoadingStack {
    const DovTransform* entries[DOV_MAX_NESTED_TRANSFORMS] = {};
    int depth = 0;

    bool Holds(const DovTransform* t) const {
        for (int i = 0; i < depth; ++i)
            if (entries[i] == t) return true;
        return false;
    }
};

LoadingStack g_loading;

int RefCount(const DovTransform& t) {
    return t.ref_count < 0 ? 0 : t.ref_count > DOV_MAX_TRANSFORM_REFS ? DOV_MAX_TRANSFORM_REFS : t.ref_count;
}

void Report(DovTokenList* msgs, const VString& text) {
    if (msgs)
        msgs->AddNewToken(MSG_ERR, DovNullPosn, text);
    else
        DovTransformMessageHook(text);
}

DovTranStorage& CurrentStorage() { return DovCurrentTranStorage ? *DovCurrentTranStorage : DovGlobalTranStorage; }

}  // namespace

// --- DovTransformRef -----------------------------------------------------------------

DovTransformRef::DovTransformRef(DovTransform* transform, int owned)
    : name(transform ? transform->name : VString()), transform(transform), owned(owned) {}

DovTransformRef::DovTransformRef(const VString& name, DovTransform*& variable)
    : name(name), transform(variable), owned(variable ? 1 : 0), load(1) {
    variable = nullptr;
}

void DovTransformRef::Release() {
    if (!owned || !transform) return;
    // The pointer goes with the object: the referring transformation's
    // destructor must not delete it a second time.
    DovTransform* t = transform;
    transform = nullptr;
    delete t;
}

DovTransform* DovTransformRef::Get() {
    if (owned && transform) return transform;
    transform = nullptr;
    VString message;
    DovTransform* found = nullptr;
    int rc = CurrentStorage().Load(name, found, message);
    if (rc == 0) {
        transform = found;
    } else if (rc != DOV_TR_NOT_FOUND) {
        // Only a transformation that is simply not there is quiet.
        DovTransformMessageHook(message);
    }
    return transform;
}

char DovTransformRef::Resolve(DovTokenList* msgs) {
    if (owned && transform) return 0;
    transform = nullptr;
    VString message;
    DovTransform* found = nullptr;
    int rc = CurrentStorage().Load(name, found, message);
    if (rc) {
        if (msgs) msgs->AddNewToken(MSG_ERR, DovNullPosn, message);
        return static_cast<char>(rc);
    }
    transform = found;
    return 0;
}

// --- the reference array ----------------------------------------------------------------

DovTransform* DovTransform::FindRef(const VString& ref_name) {
    int n = RefCount(*this);
    for (int i = 0; i < n; ++i)
        if (refs[i].name == ref_name) return refs[i].Get();
    return nullptr;
}

int DovTransform::InsRef(const DovTransformRef& entry, int index) {
    int n = RefCount(*this);
    if (index < 0 || index > n) index = n;
    if (n >= DOV_MAX_TRANSFORM_REFS) {
        DovTransformMessageHook("SEVERE ERROR: DovTransform::InsRef: too many references");
        return -1;
    }
    // The entry may be one of this array's own: copy it before the move.
    DovTransformRef copy = entry;
    for (int i = n; i > index; --i) refs[i] = refs[i - 1];
    refs[index] = copy;
    ref_count = n + 1;
    return index;
}

int DovTransform::AppendRef(const DovTransformRef& entry) { return InsRef(entry, RefCount(*this)); }

int DovTransform::AddOwnedRef(DovTransform* t, int owned) {
    if (!t) return -1;
    DovTransformRef entry(t, owned);
    entry.load = 1;
    int at = AppendRef(entry);
    if (at >= 0) t->is_owned = owned;
    return at;
}

DovTransformRef DovTransform::RemoveRef(int index) {
    int n = RefCount(*this);
    if (n == 0) return DovTransformRef();
    if (index < 0 || index >= n) index = n - 1;
    DovTransformRef removed = refs[index];
    for (int i = index + 1; i < n; ++i) refs[i - 1] = refs[i];
    // The place left behind holds nothing: no stale pointer stays in it.
    refs[n - 1] = DovTransformRef();
    ref_count = n - 1;
    return removed;
}

char DovTransform::ResolveRefs(DovTokenList* msgs) {
    int n = RefCount(*this);
    for (int i = 0; i < n; ++i) {
        if (!refs[i].load) continue;
        if (char rc = refs[i].Resolve(msgs)) return rc;
    }
    return 0;
}

char DovTransform::LoadRefs(DovTokenList* msgs) {
    if (g_loading.Holds(this)) {
        Report(msgs, DovFormat("DovTransform::LoadRefs: transformation '%s' refers to itself through its references",
                               name.CStr()));
        return DOV_TR_LIMIT;
    }
    if (g_loading.depth >= DOV_MAX_NESTED_TRANSFORMS) {
        Report(msgs, DovFormat("DovTransform::LoadRefs: references nested too deep at transformation '%s'",
                               name.CStr()));
        return DOV_TR_LIMIT;
    }
    if (char rc = ResolveRefs(msgs)) return rc;
    g_loading.entries[g_loading.depth++] = this;
    char rc = 0;
    for (int i = 0; i < RefCount(*this) && !rc; ++i) {
        if (!refs[i].load) continue;
        if (DovTransform* t = refs[i].Get()) rc = t->LoadRefs(msgs);
    }
    --g_loading.depth;
    return rc;
}
