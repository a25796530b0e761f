// PrintTemplate: one entry of a print-template table. A printer's
// generation table is an array of these, one slot per operation code, each
// slot heading the chain of the further entries of its code.
#pragma once

#include <cstdint>

class DovExpr;

// Number of slots of a generation table: operation codes 0 to 1400.
constexpr int kDovGenTableSlots = 1401;

struct PrintTemplate {
    PrintTemplate() = default;
    PrintTemplate(std::uint16_t code, int (*predicate)(DovExpr*), const char* text)
        : code(code), predicate(predicate), text(text) {}
    // Entries are copied as plain records; whoever copies one into a chain
    // resets `next` of the copy.
    PrintTemplate(const PrintTemplate&) = default;
    PrintTemplate& operator=(const PrintTemplate&) = default;
    // An entry owns the entry behind it: the rest of the chain goes with it.
    ~PrintTemplate();

    std::uint16_t code = 0;                 // 0 in a generation-table slot: empty
    int (*predicate)(DovExpr*) = nullptr;   // null: the entry applies to every node
    const char* text = nullptr;             // the template; null ends a primary table
    std::uint16_t fromPrimary = 0;          // the slot's head came from the primary table
    PrintTemplate* next = nullptr;          // the next entry of the same code, owned
};

// Frees a generation table: the chain behind every slot, from the last slot
// to the first, then the array. The pointer becomes null.
void DovFreeGenTable(PrintTemplate*& table);
