// The transformation class registry: class names mapped to factories, so
// that a transformation can be made from the class name its file carries.
#include "transform/base.h"

namespace {

struct RegistryEntry {
    VString class_name;
    VString description;
    DovTransformFactory factory = nullptr;
};

struct Registry {
    RegistryEntry entries[DOV_MAX_REGISTERED_TRANSFORMS];
};

// Entries 0 .. count - 1 are in use. The count lives outside the table so
// that the operations before the first registration see an empty registry
// without building it.
int g_count = 0;

// Built on the first registration, destroyed at exit.
Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

int FindEntry(const VString& class_name) {
    if (g_count == 0) return -1;
    Registry& reg = TheRegistry();
    for (int i = 0; i < g_count; ++i)
        if (reg.entries[i].class_name == class_name) return i;
    return -1;
}

const char kNoneYet[] = "DovTransform::UnRegister: no transformations registered yet";

}  // namespace

int DovTransform::Register(const DovTransform& sample, DovTransformFactory factory, VString& message) {
    Registry& reg = TheRegistry();
    if (g_count >= DOV_MAX_REGISTERED_TRANSFORMS) {
        message = "DovTransform::Register: too many transformations registered";
        DovTransformMessageHook(message);
        return DOV_REG_FULL;
    }
    VString class_name = sample.ClassName();
    if (FindEntry(class_name) >= 0) {
        message = DovFormat("DovTransform::Register: transformations '%s' is already registered", class_name.CStr());
        return DOV_REG_DUPLICATE;
    }
    RegistryEntry& e = reg.entries[g_count];
    e.class_name = class_name;
    e.description = sample.ClassDescription();
    e.factory = factory;
    ++g_count;
    return 0;
}

int DovTransform::UnRegister(const DovTransform& sample, VString& message) {
    if (g_count == 0) {
        message = kNoneYet;
        return DOV_REG_NOT_REGISTERED;
    }
    int at = FindEntry(sample.ClassName());
    if (at < 0) return DOV_REG_NOT_REGISTERED;
    return UnRegister(at, at + 1, message);
}

int DovTransform::UnRegister(int first, int last, VString& message) {
    if (g_count == 0) {
        message = kNoneYet;
        return DOV_REG_NOT_REGISTERED;
    }
    // A range outside the entries in use would move entries from or to
    // places past the table.
    if (last - first <= 0 || first < 0 || last > g_count) {
        message = "DovTransform::UnRegister: bad shift parameters";
        return DOV_REG_NOT_REGISTERED;
    }
    Registry& reg = TheRegistry();
    int to = first;
    for (int from = last; from < g_count; ++from, ++to) {
        reg.entries[to].class_name = reg.entries[from].class_name;
        reg.entries[to].description = reg.entries[from].description;
        reg.entries[to].factory = reg.entries[from].factory;
    }
    // The places left behind hold nothing.
    for (; to < g_count; ++to) reg.entries[to] = RegistryEntry();
    g_count -= last - first;
    return 0;
}

int DovTransform::NewByName(const VString& class_name, DovTransform*& out, VString& message) {
    out = nullptr;
    int at = FindEntry(class_name);
    if (at >= 0 && TheRegistry().entries[at].factory) {
        out = TheRegistry().entries[at].factory();
        return 0;
    }
    message = DovFormat("DovTransform::NewByName: transformation class '%s' not found", class_name.CStr());
    return DOV_TR_NOT_REGISTERED;
}

int DovTransform::RegisteredCount() { return g_count; }

const VString& DovTransform::RegisteredName(int i) {
    return i >= 0 && i < g_count ? TheRegistry().entries[i].class_name : VString::Empty;
}

const VString& DovTransform::RegisteredDescription(int i) {
    return i >= 0 && i < g_count ? TheRegistry().entries[i].description : VString::Empty;
}
