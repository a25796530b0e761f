// The data layout: storage lengths and offsets of the data description
// entries of a parsed tree, stored in the tree itself. Defined in
// data_layout.cpp.
#pragma once

class DovExpr;
class DovTokenList;

// The settings of one layout run, taken from the parser options.
struct DovLayoutSettings {
    int storageMode = 1;        // 1 byte, 2 word, 3 fsc
    int trailingSepSign = 0;
    int pointerSize = 4;
    int procPointerSize = 4;
    int indexSize = 4;
    int unfoldFlexArrays = 1;
};

// Lays out every data section of every program of `root`; messages are
// appended to `messages`. Always 0.
int DovCalcLengthsAndOffsets(DovExpr* root, DovTokenList* messages, int localOffsets, int globalOffsets,
                             int constantValues, const DovLayoutSettings& settings);
