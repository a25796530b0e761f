#include "lbase/vstring_list.h"

#include <limits>
#include <new>
#include <ostream>
#include <utility>

// --- VStringList -----------------------------------------------------------

VStringList::VStringList(const VStringList& other) { Assign(other); }

VStringList& VStringList::Assign(const VStringList& other) {
    if (this == &other) return *this;
    Clear();
    VStringListNode** tail = &head;
    for (auto* n = other.head; n; n = n->next) {
        *tail = new VStringListNode{n->value, nullptr};
        tail = &(*tail)->next;
    }
    return *this;
}

void VStringList::Clear() {
    while (head) {
        auto* next = head->next;
        delete head;
        head = next;
    }
}

int VStringList::Count() const {
    int n = 0;
    for (auto* p = head; p; p = p->next) ++n;
    return n;
}

void VStringList::Append(const VString& s) {
    VStringListNode** tail = &head;
    while (*tail) tail = &(*tail)->next;
    *tail = new VStringListNode{s, nullptr};
}

void VStringList::Prepend(const VString& s) { head = new VStringListNode{s, head}; }

void VStringList::InsertAfter(VStringListNode* node, const VString& s) {
    node->next = new VStringListNode{s, node->next};
}

void VStringList::Splice(VStringList& other) {
    if (this == &other || !other.head) return;
    VStringListNode** tail = &head;
    while (*tail) tail = &(*tail)->next;
    *tail = other.head;
    other.head = nullptr;
}

void VStringList::SpliceFront(VStringList& other) {
    if (this == &other || !other.head) return;
    VStringListNode* last = other.head;
    while (last->next) last = last->next;
    last->next = head;
    head = other.head;
    other.head = nullptr;
}

std::ostream& operator<<(std::ostream& os, const VStringList& list) {
    os << "CL{ ";
    for (auto* n = list.head; n; n = n->next) {
        if (n != list.head) os << ", ";
        os << n->value;
    }
    return os << " }CL";
}

// --- VStringArray ----------------------------------------------------------

VStringArray::VStringArray(int cap) : capacity(cap > 0 ? cap : 0), items(new VString[capacity]) {}

VStringArray::VStringArray(const VStringArray& other)
    : count(other.count), capacity(other.capacity), items(new VString[other.capacity]) {
    for (int i = 0; i < count; ++i) items[i] = other.items[i];
}

VStringArray& VStringArray::operator=(const VStringArray& other) {
    if (this == &other) return *this;
    VString* fresh = new VString[other.capacity];
    for (int i = 0; i < other.count; ++i) fresh[i] = other.items[i];
    delete[] items;
    items = fresh;
    count = other.count;
    capacity = other.capacity;
    return *this;
}

void VStringArray::Append(const VString& s) {
    if (count >= capacity) {
        // Doubling past what an int counts would wrap: as full as memory.
        if (capacity > std::numeric_limits<int>::max() / 2) throw std::bad_alloc();
        const int grown = capacity > 0 ? capacity * 2 : 4;
        auto* fresh = new VString[grown];
        fresh[count] = s;  // before the move: `s` may be one of the items
        for (int i = 0; i < count; ++i) fresh[i] = std::move(items[i]);
        delete[] items;
        items = fresh;
        capacity = grown;
        ++count;
        return;
    }
    items[count++] = s;
}

void VStringArray::Clear() {
    for (int i = 0; i < count; ++i) items[i] = VString();
    count = 0;
}

// --- DovNameTable ----------------------------------------------------------

namespace {
const DovNameTableEntry kEmptyEntry;
}

DovNameTable::DovNameTable(int cap) : entries(new DovNameTableEntry[cap > 0 ? cap : 1]), capacity(cap > 0 ? cap : 1) {}

int DovNameTable::FindOrAdd(const VString& name, bool sorted, bool add) {
    int place = count;
    for (int i = 0; i < count; ++i) {
        const VString& have = entries[i].name;
        if (sorted) {
            int c = have.Compare(name);
            if (c < 0) continue;
            if (c == 0 && have.Len() == name.Len()) {
                ++entries[i].count;
                return i;
            }
            place = i;
            break;
        }
        if (have.Len() == name.Len() && have.Compare(name) == 0) {
            ++entries[i].count;
            return i;
        }
    }
    if (!add) return -1;
    return Insert(DovNameTableEntry{name, 1}, place);
}

int DovNameTable::Insert(const DovNameTableEntry& given, int index) {
    DovNameTableEntry entry = given;  // `given` may live in this table
    if (index < 0) index = 0;
    if (index > count) index = count;
    if (count >= capacity) {
        // Doubling past what an int counts would wrap: as full as memory.
        if (capacity > std::numeric_limits<int>::max() / 2) throw std::bad_alloc();
        const int grown = capacity > 0 ? capacity * 2 : 1;
        auto* fresh = new DovNameTableEntry[grown];
        for (int i = 0; i < count; ++i) fresh[i] = std::move(entries[i]);
        delete[] entries;
        entries = fresh;
        capacity = grown;
    }
    for (int i = count - 1; i >= index; --i) entries[i + 1] = std::move(entries[i]);
    entries[index] = std::move(entry);
    ++count;
    return index;
}

const DovNameTableEntry& DovNameTable::At(int index) const {
    return (index >= 0 && index < count) ? entries[index] : kEmptyEntry;
}
