// Hand-built data divisions for the data layout and data map tests (and the
// layout benchmark): a source file with one program, data sections filled
// from rows of data items, and the clauses the rows cannot give (OCCURS,
// REDEFINES, RENAMES, SYNC, SIGN, 88 and 78 entries) added by name.
#pragma once

#include <string>
#include <vector>

#include "parser/data_layout.h"
#include "tree/tree.h"

namespace vemlo_test {

// A row of a data item: depth (0 for a record), level, name, PIC, USAGE.
DovDataItemRow Item(int depth, int level, const char* name, const char* pic = nullptr, int usage = DU_NONE);

class DataTree {
public:
    DataTree();
    ~DataTree();
    DataTree(const DataTree&) = delete;
    DataTree& operator=(const DataTree&) = delete;

    // The DECL_DD_LIST of a WORKING-STORAGE, LOCAL-STORAGE or LINKAGE
    // section of the program, made on first use.
    DovExpr* Section(DovOper section);
    // The record list of a new file description of `fileName`.
    DovExpr* FileRecords(const char* fileName);
    // A file description without a DECL_FD_ENTRY (a COPY marker in its place).
    void CopyMarkerFile();
    // Declares rows (no end row needed) into a list; false with the reason
    // printed when a row does not fit.
    bool Declare(DovExpr* list, const std::vector<DovDataItemRow>& rows);

    // The first data, 88 or 78 entry named `name` (nullptr when none).
    DovExpr* Entry(const char* name) const;
    // A NAMED_OBJ_USE of `name`, resolved to Entry(name)'s definition (left
    // unresolved when there is no such entry).
    DovExpr* Use(const char* name);

    void Occurs(const char* name, long long times, const char* depending = nullptr);
    void OccursRange(const char* name, long long low, long long high, const char* depending = nullptr);
    // OCCURS with the count given by an expression (taken over).
    void OccursExpr(const char* name, DovExpr* times);
    void Redefines(const char* name, const char* target);
    void Renames(const char* name, const char* from, const char* to = nullptr);
    void Sync(const char* name);
    void SignSeparate(const char* name);
    void Usage(const char* name, int usage);
    // An 88 entry below the entry `parent`; `value` (taken over) is the
    // ranges, `whenFalse` (taken over, may be null) the WHEN SET TO FALSE value.
    void Cond(const char* parent, const char* name, DovExpr* value, DovExpr* whenFalse = nullptr);
    // A 78 entry appended to `list`, or below the entry `parent` (list null).
    DovExpr* Const(DovExpr* list, const char* parent, const char* name, DovExpr* value);

    // Runs the layout over the whole file.
    int Layout(const DovLayoutSettings& settings = DovLayoutSettings(), int local = 1, int global = 1, int consts = 1);

    // Results of an entry by name; kMissing when the slot holds no number.
    static constexpr long long kMissing = -999999;
    long long Length(const char* name) const;
    long long Offset(const char* name) const;
    long long Global(const char* name) const;
    long long Local(const char* name) const;
    long long EltLength(const char* name) const;
    long long ConstValue(const char* name) const;
    int Category(const char* name) const;
    std::vector<std::string> Messages() const;

    DovExpr* file = nullptr;
    DovExpr* program = nullptr;
    DovTokenList messages;
};

// Leaf builders.
DovExpr* Int(long long value);
DovExpr* Op(DovOper op, std::initializer_list<DovExpr*> args);

}  // namespace vemlo_test
