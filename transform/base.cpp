// DovTransform: construction, copying, destruction, the class allocator with
// its table of live objects, the base virtual operations and the library's
// message hook and trace level.
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>

#include "transform/base.h"
#include "transform/engine.h"

namespace {

const char kAbstractText[] = "DovTransform: this abstract class must NOT be allocated";

// Every transformation made with new, in allocation order. Entries below
// the high-water index are in use or cleared (null).
struct LiveTable {
    DovTransform* entries[DOV_MAX_LIVE_TRANSFORMS] = {};
    int high_water = 0;
    int count = 0;
};

LiveTable g_live;

}  // namespace

void DovTransformPrintError(const VString& text) { std::cout << "ERROR: " << text << std::endl; }

DovTransformMessageFn DovTransformMessageHook = DovTransformPrintError;
int DovTransformDebugLevel = 0;

// --- construction and destruction ----------------------------------------

DovTransform::DovTransform(const VString& name, const VString& description)
    : name(name), description(description), walker(DovTransWalker) {}

DovTransform::DovTransform(const DovTransform& other)
    : name(other.name),
      description(other.description),
      dir_name(other.dir_name),
      cut_off(other.cut_off),
      walker(other.walker),
      ref_count(other.ref_count),
      is_owned(other.is_owned) {
    if (ref_count < 0) ref_count = 0;
    if (ref_count > DOV_MAX_TRANSFORM_REFS) ref_count = DOV_MAX_TRANSFORM_REFS;
    for (int i = 0; i < ref_count; ++i) {
        const DovTransformRef& from = other.refs[i];
        DovTransformRef& to = refs[i];
        DovTransform* clone = from.owned && from.transform ? from.transform->Clone() : nullptr;
        if (clone) {
            // The copy owns a copy of its own.
            to.name = clone->name;
            to.transform = clone;
            to.owned = 1;
            to.load = 1;
        } else {
            to.name = from.name;
            to.transform = from.owned ? nullptr : from.transform;
            to.owned = from.owned && to.transform ? 1 : 0;
            to.load = from.load;
        }
    }
}

DovTransform::~DovTransform() {
    // An owned transformation may refer back into this array through its own
    // destructor, so the count is read again after each one.
    for (int i = 0; i < ref_count && i < DOV_MAX_TRANSFORM_REFS; ++i) {
        DovTransformRef& ref = refs[i];
        if (ref.owned && ref.transform) {
            DovTransform* owned = ref.transform;
            ref.transform = nullptr;
            delete owned;
        }
    }
}

// --- the class allocator --------------------------------------------------

void* DovTransform::operator new(std::size_t size) {
    void* p = ::operator new(size);
    AddToLiveTable(static_cast<DovTransform*>(p));
    return p;
}

void DovTransform::operator delete(void* p, std::size_t size) {
    if (!p) return;
    ScrubFreed(p, size);
    ::operator delete(p);
}

void DovTransform::ScrubFreed(void* p, std::size_t size) {
    RemoveFromLiveTable(p);
    // A stale pointer to a freed transformation reads 0xAA, never plausible
    // data.
    std::memset(p, 0xAA, size);
}

void DovTransform::AddToLiveTable(DovTransform* p) {
    if (g_live.high_water >= DOV_MAX_LIVE_TRANSFORMS) {
        int moved = 0;
        for (int i = 0; i < g_live.high_water; ++i)
            if (g_live.entries[i]) g_live.entries[moved++] = g_live.entries[i];
        for (int i = moved; i < g_live.high_water; ++i) g_live.entries[i] = nullptr;
        g_live.high_water = moved;
        if (moved >= DOV_MAX_LIVE_TRANSFORMS) {
            // The object stays usable; it is only not recorded.
            DovTransformMessageHook("DovTransform: too many transformations allocated");
            return;
        }
    }
    g_live.entries[g_live.high_water++] = p;
    ++g_live.count;
}

void DovTransform::RemoveFromLiveTable(const void* p) {
    for (int i = 0; i < g_live.high_water; ++i) {
        if (g_live.entries[i] == p) {
            g_live.entries[i] = nullptr;
            --g_live.count;
            return;
        }
    }
}

void DovTransform::DeleteAllLive() {
    // Owners first: deleting a transformation deletes the ones it owns, which
    // then leave the table. An owned one met before its owner would be
    // deleted twice.
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < g_live.high_water; ++i) {
            DovTransform* t = g_live.entries[i];
            if (!t || (pass == 0 && t->is_owned)) continue;
            delete t;
        }
    }
}

int DovTransform::LiveCount() { return g_live.count; }
int DovTransform::LiveHighWater() { return g_live.high_water; }
DovTransform* DovTransform::LiveAt(int i) {
    return i >= 0 && i < g_live.high_water ? g_live.entries[i] : nullptr;
}

// --- base virtual operations ------------------------------------------------

VString DovTransform::ClassName() const { return kAbstractText; }

VString DovTransform::ClassDescription() const { return kAbstractText; }

int DovTransform::Prepare(DovParser*, DovPrettyPrinter*, DovTokenList*) { return 0; }

char DovTransform::PrepareFile(const VString&, DovParser* parser, DovPrettyPrinter* printer, DovTokenList* msgs) {
    return static_cast<char>(Prepare(parser, printer, msgs));
}

char DovTransform::PreProcess(const VString&, DovParser*, DovPrettyPrinter*, DovTokenList*) { return 0; }

void DovTransform::Print(std::ostream& os) const {
    os << "Transformation " << name << " class=" << ClassName() << " is_owned=" << is_owned
       << " dir_name=" << dir_name << " inst_descr='" << description << "'" << std::endl;
}
