// The usage map of applied transformations and the reporting switches of
// the transformation library.
#pragma once

#include <iosfwd>

#include "lbase/vstring.h"

constexpr int DOV_USAGE_MAP_SIZE = 200;

// Per transformation instance name, how often it was applied, in order of
// first use. Lives for the whole run.
struct DovUsageMap {
    struct Entry {
        VString name;
        int count = 0;
    };
    Entry entries[DOV_USAGE_MAP_SIZE];
    int count = 0;
    // Set once a new name found the map full and that was reported.
    int full_reported = 0;

    // The entry of `name`, or null.
    Entry* Find(const VString& name);
};

DovUsageMap& DovTransformUsageMap();

// Reporting switches, set through the driver's options.
extern int DovConvWarn;       // "conv-warn": accepted, not consulted here
extern int DovConvInfo;       // "conv-info": WillTransform attaches its message
extern int DovConvList;       // "conv-list": the driver prints the applied list
extern int DovConvFoundMode;  // nonzero: the message reads "Found", else "Applied"

// "List of applied transformations:" and one "%-3d NAME" line per entry;
// nothing for an empty map.
void DovPrintAppliedTransformations(std::ostream& os);
