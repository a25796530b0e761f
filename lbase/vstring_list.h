// Containers of VString: the singly linked VStringList, the growing
// VStringArray and DovNameTable, a table of distinct names with use counts.
#pragma once

#include <iosfwd>

#include "lbase/vstring.h"

struct VStringListNode {
    VString value;
    VStringListNode* next = nullptr;
};

class VStringList {
public:
    VStringList() = default;
    VStringList(const VStringList& other);
    VStringList& operator=(const VStringList& other) { return Assign(other); }
    ~VStringList() { Clear(); }

    VStringList& Assign(const VStringList& other);
    void Clear();
    int Count() const;
    bool IsEmpty() const { return head == nullptr; }

    void Append(const VString& s);
    void Prepend(const VString& s);
    void InsertAfter(VStringListNode* node, const VString& s);
    // Moves every node of `other` to the end (front) of this list.
    void Splice(VStringList& other);
    void SpliceFront(VStringList& other);

    VStringListNode* head = nullptr;
};

std::ostream& operator<<(std::ostream& os, const VStringList& list);

// The strings in use are items[0 .. count-1]; the items behind them up to
// the capacity are empty.
class VStringArray {
public:
    explicit VStringArray(int capacity);
    VStringArray(const VStringArray& other);
    VStringArray& operator=(const VStringArray& other);
    ~VStringArray() { delete[] items; }

    // Adds a copy of `s` behind the strings in use, doubling the room when
    // it is full: nothing is ever dropped.
    void Append(const VString& s);
    // Empties every string in use; the room stays.
    void Clear();

    int count = 0;
    int capacity = 0;
    VString* items = nullptr;
};

struct DovNameTableEntry {
    VString name;
    int count = 0;
};

class DovNameTable {
public:
    explicit DovNameTable(int capacity);
    DovNameTable(const DovNameTable&) = delete;
    DovNameTable& operator=(const DovNameTable&) = delete;
    ~DovNameTable() { delete[] entries; }

    // Index of `name` (its count raised by one), or of the newly added entry;
    // -1 when absent and `add` is false. In sorted mode the table keeps its
    // names in ascending byte order.
    int FindOrAdd(const VString& name, bool sorted, bool add);
    int Insert(const DovNameTableEntry& entry, int index);
    const DovNameTableEntry& At(int index) const;
    int Count() const { return count; }

    DovNameTableEntry* entries = nullptr;
    int count = 0;
    int capacity = 0;
};
