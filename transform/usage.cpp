// The usage map and WillTransform, with which a transformation announces
// the work it did at a node.
#include <iostream>

#include "lbase/message.h"
#include "transform/base.h"
#include "transform/engine.h"
#include "transform/usage.h"
#include "tree/expr.h"
#include "tree/walk.h"

int DovConvWarn = 1;
int DovConvInfo = 0;
int DovConvList = 0;
int DovConvFoundMode = 0;

DovUsageMap::Entry* DovUsageMap::Find(const VString& name) {
    for (int i = 0; i < count; ++i)
        if (entries[i].name == name) return &entries[i];
    return nullptr;
}

DovUsageMap& DovTransformUsageMap() {
    static DovUsageMap map;
    return map;
}

namespace {

// One use of `name`. A full map goes on counting the names it holds; the
// first name that finds no room is reported, later ones are not.
void CountUse(const VString& name) {
    DovUsageMap& map = DovTransformUsageMap();
    if (DovUsageMap::Entry* e = map.Find(name)) {
        ++e->count;
        return;
    }
    if (map.count < DOV_USAGE_MAP_SIZE) {
        DovUsageMap::Entry& e = map.entries[map.count++];
        e.name = name;
        e.count = 1;
        return;
    }
    if (!map.full_reported) {
        map.full_reported = 1;
        DovTransformMessageHook("SEVERE ERROR: DovTransform::WillTransform: too many transformations in a map");
    }
}

}  // namespace

void DovTransform::WillTransform(DovTransform* t, int quiet) {
    if (!t) return;
    const DovTransApplication& now = DovTransCurrent;
    if (quiet == 0) {
        CountUse(t->name);
        if (DovConvInfo && now.msgs) {
            VString first_line = t->description.UpTo('\n');
            VString text = DovFormat(DovConvFoundMode ? "Found %s (%s)" : "Applied %s (%s)", t->name.CStr(),
                                     first_line.CStr());
            now.msgs->AddNewToken(MSG_INFO, DovSrcPosnBeg(now.node), text);
        }
    }
    if (DovTransformDebugLevel != 0) {
        std::cout << "**WillTr: " << t->name << " op=" << (now.node ? DovOperName(now.node->Oper()) : "bad-op")
                  << " @=" << DovSrcPosnBeg(now.node) << " i=" << (now.node ? now.node->Serial() : 0)
                  << " t=" << now.apply << std::endl;
    }
}

void DovPrintAppliedTransformations(std::ostream& os) {
    DovUsageMap& map = DovTransformUsageMap();
    if (map.count <= 0) return;
    os << "List of applied transformations:\n";
    for (int i = 0; i < map.count; ++i) os << DovFormat("%-3d ", map.entries[i].count) << map.entries[i].name << '\n';
}
