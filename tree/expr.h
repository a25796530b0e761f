// The program tree's node core: DovExpr (the base of every node), argument
// slots and DovExprOper (nodes with arguments), the null node and the
// character-string leaf, and the globals of the tree core.
#pragma once

#include <cstdint>
#include <cstddef>
#include <initializer_list>
#include <iosfwd>
#include <type_traits>
#include <vector>

#include "lbase/message.h"
#include "lbase/small_blocks.h"
#include "lbase/vstring.h"
#include "tree/link.h"
#include "tree/oper.h"
#include "tree/token.h"

class DovExpr;
struct DovArgSlot;

// Called when the slots of a node that has a name index record, or the name
// of an element in them, are about to change (`gone`: the node is being
// destroyed); defined with the symbol tables (tree/symtab.cpp).
void DovNameIndexSlotsChanging(DovExpr* table, bool gone);

// Kinds of the tree-change hook.
enum DovTreeChangeKind : int {
    DOV_CHANGE_STORE_CHILD = 1,   // a child is about to be stored in a slot
    DOV_CHANGE_DETACH_CHILD = 2,  // a child is about to be detached from a slot
    DOV_CHANGE_INSERT_SLOT = 3,   // a new slot is about to be inserted
    DOV_CHANGE_REMOVE_SLOT = 4,   // a slot is about to be removed
    DOV_CHANGE_TEXT = 5,          // a node's text is about to change
    DOV_CHANGE_DONE = 6,          // a node has been changed
};

using DovTreeChangeHookFn = void (*)(int kind, DovExpr* node, DovExpr* child, int index, const VString& text);

// Called before and after structural and textual changes; null (off) in the
// tool, an interface for editors and change logs.
extern DovTreeChangeHookFn DovTreeChangeHook;
// When nonzero, slot operations never leave a slot empty: they store a new
// NULL_NODE instead, and reading an empty slot is reported.
extern int DovNullNodeSwitch;
// Debug dump: indentation level (". " per level) and verbosity.
extern int DovDumpDepth;
extern int DovDumpVerbosity;

// The pretty printer's node operations, installed by the printer library.
// The argument is the printer's pass selector.
struct DovPrettyPrintHooks {
    void (*leaf)(DovExpr* node, int pass) = nullptr;
    void (*str_const)(DovExpr* node, int pass) = nullptr;
    void (*oper)(DovExpr* node, int pass) = nullptr;
};
extern DovPrettyPrintHooks DovPrettyPrint;

// One argument slot of an operator node: the tokens in front of the
// argument, the child, a code the filler may attach and the clause order.
struct DovArgSlot {
    DovArgSlot() = default;
    DovArgSlot(const DovArgSlot&) = delete;
    DovArgSlot& operator=(const DovArgSlot&) = delete;
    // Deletes the child (the owner detaches it first) and the tokens.
    ~DovArgSlot();

    VEMLO_SMALL_BLOCK_OPERATORS

    DovTokenList tokens;
    DovExpr* arg = nullptr;
    std::int16_t code = 0;
    std::int16_t order = -1;
};

// Generated-output position that the pretty printer records on a node:
// 24 bits of offset (all set = unset) and a flag byte.
// Both live in one word, so that the two positions of a node take 8 bytes.
struct DovGenPosn {
    static constexpr std::uint32_t kUnset = 0xffffff;
    std::uint32_t posn : 24 = kUnset;
    std::uint32_t flag : 8 = 0;
    bool IsSet() const { return posn != kUnset; }
};

// The slot array of an operator node: a vector of slot record pointers in
// two words (the array, then its length and room in 32 bits each), the
// array from DovSmallBlocks.
class DovSlotArray {
public:
    using Ptr = DovArgSlot*;
    DovSlotArray() = default;
    DovSlotArray(const DovSlotArray&) = delete;
    DovSlotArray& operator=(const DovSlotArray&) = delete;
    ~DovSlotArray() { Free(); }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    Ptr& operator[](std::size_t i) { return data_[i]; }
    Ptr operator[](std::size_t i) const { return data_[i]; }
    Ptr* begin() { return data_; }
    Ptr* end() { return data_ + size_; }
    const Ptr* begin() const { return data_; }
    const Ptr* end() const { return data_ + size_; }
    Ptr& back() { return data_[size_ - 1]; }

    // New places hold null.
    void resize(std::size_t n) {
        if (n > cap_) Grow(n);
        for (std::size_t i = size_; i < n; ++i) data_[i] = nullptr;
        size_ = static_cast<std::uint32_t>(n);
    }
    void push_back(Ptr p) {
        if (size_ == cap_) Grow(size_ + 1);
        data_[size_++] = p;
    }
    void pop_back() { --size_; }
    Ptr* insert(Ptr* at, Ptr p) {
        const std::size_t i = static_cast<std::size_t>(at - data_);
        if (size_ == cap_) Grow(size_ + 1);
        for (std::size_t j = size_; j > i; --j) data_[j] = data_[j - 1];
        data_[i] = p;
        ++size_;
        return data_ + i;
    }
    Ptr* erase(Ptr* at) {
        for (Ptr* q = at; q + 1 < data_ + size_; ++q) *q = q[1];
        --size_;
        return at;
    }
    void clear() { size_ = 0; }

private:
    // Room for at least n, at least twice the old room when growing.
    void Grow(std::size_t n);
    void Free() {
        if (data_) DovSmallBlocks::Give(data_, std::size_t{cap_} * sizeof(Ptr));
        data_ = nullptr;
        size_ = cap_ = 0;
    }

    Ptr* data_ = nullptr;
    std::uint32_t size_ = 0;
    std::uint32_t cap_ = 0;
};

class DovExpr {
public:
    explicit DovExpr(DovOper op);
    DovExpr(const DovExpr& other);
    DovExpr& operator=(const DovExpr&) = delete;

    // Virtual operations, in the order every node class shares.
    virtual DovExpr* Copy() const = 0;
    virtual ~DovExpr();
    virtual void Unlink() {}
    virtual void SetOper(DovOper op, int reset, int shrink);
    virtual int IsNull() const { return 0; }
    virtual int IsTerminal() const { return 0; }
    virtual const VString& Image() const;
    virtual VString Value() const;
    virtual long long IntValue() const;
    // Sets the text of a terminal node: 0, or 33 ('!') with a message in
    // `error` (when given) for a malformed image.
    virtual char SetImage(const VString& image, VString* error = nullptr);
    virtual void SetValue(const VString& value);
    virtual void SetValue(long long value);
    virtual DovExpr* Args(int i) const;
    virtual DovArgSlot* ArgSlots(int i) const;
    virtual void SetArg(int i, DovExpr* node, int order = -1, int code = 0);
    virtual void SetArgNoDel(int i, DovExpr* node);
    virtual void SetArg(int i, DovArgSlot* slot);
    virtual void SetArgToList(int i, DovOper list_op, DovExpr* node);
    virtual void AddArg(DovExpr* node);
    virtual void InsArg(DovExpr* node, int pos);
    virtual void InsSibBefore(DovExpr* node);
    virtual void InsSibAfter(DovExpr* node);
    virtual DovExpr* DelArg(int i, int remove, int fill);
    virtual DovArgSlot* DelArgSlot(int i, int remove, int fill);
    virtual int FindArg(const DovExpr* node) const;
    virtual int NumLinks() const { return 0; }
    virtual const char* LinkName(int) const { return nullptr; }
    virtual DovLink& Link(int i = 0);
    virtual int NumLinkLists() const { return 0; }
    virtual const char* LinkListName(int) const { return nullptr; }
    virtual DovLinkList& Links(int i = 0);
    virtual void PrettyPrintOper(int pass);
    virtual void PutTicNode(std::ostream& os) const;
    virtual char GetTic(std::istream& is, VString& message);
    virtual void Print(std::ostream& os) const;

    // Nodes come from the small-block lists (the global heap under
    // AddressSanitizer); in debug builds a freed node's memory is filled
    // with 0xAA before it is given back, so a stale pointer never reads
    // plausible data.
    static void* operator new(std::size_t size);
    static void operator delete(void* p, std::size_t size);

    // Header fields.
    DovOper Oper() const { return static_cast<DovOper>(oper_); }
    // The slot count of an operator node; 0 for every other node.
    int NumArgs() const;
    int Flag() const { return flag_; }
    void SetFlag(int flag) { flag_ = static_cast<std::uint16_t>(flag & 3); }
    // The width the printer measured for the node's text.
    int PrintedLength() const {
        return printed_len_ != kPrintedLenInTable ? printed_len_ : PrintedLengthFromTable();
    }
    void SetPrintedLength(int len);
    DovExpr* Parent() const { return parent_; }
    std::int32_t Serial() const { return serial_; }
    void SetSerial(std::int32_t serial) { serial_ = serial; }
    DovGenPosn& GenBeg() { return gen_beg_; }
    DovGenPosn& GenEnd() { return gen_end_; }
    const DovGenPosn& GenBeg() const { return gen_beg_; }
    const DovGenPosn& GenEnd() const { return gen_end_; }
    DovTokenList& Tokens() { return tokens_; }
    const DovTokenList& Tokens() const { return tokens_; }
    // Kept by the symbol tables' name index (tree/symtab.cpp): set while it
    // has a record of this node, which every slot change is told of.
    bool HasNameIndex() const { return has_name_index_; }
    void SetHasNameIndex(bool on) { has_name_index_ = on; }

    // Navigation and editing.
    int FindMe(DovExpr** parent) const;
    DovArgSlot* FindMySlot() const;
    DovExpr* NextSib() const;
    DovExpr* PrevSib() const;
    DovExpr* DelThis();
    DovExpr* ReplThis(DovExpr* other);
    // Stores the clause order in this node's slot: the slot record, or
    // null when the node has no place in a parent.
    DovArgSlot* SetSlotOrder(int order);

    // The tokens in front of the first argument, or the node's own list.
    DovTokenList* LeadingTokens();

    // Slot record i for 0 <= i < NumArgs(), read straight from the slot
    // array: no range check, report or virtual call. Only DovExprOper nodes
    // have arguments.
    DovArgSlot* SlotAt(int i) const;

    // Pre-order walk with a post-order and a token-list callback.
    using PreFn = int (*)(DovExpr* node, DovExpr* root, void* context);
    using PostFn = int (*)(DovExpr* node, DovExpr* root, void* context, int result);
    using TokensFn = int (*)(DovTokenList* list, DovExpr* node, DovExpr* root, void* context);
    int NamedWalk(DovExpr* root, void* context, const char* name, PreFn pre, PostFn post, TokensFn tokens);

    // Reports "this function must not be called" for an operation the
    // node's class does not carry.
    void ReportMisuse(const char* label) const;

    // Printer messages into the message list of the running print pass:
    // about this node (at its subtree's begin position, the text prefixed
    // with that position and the operation name), or about no node (at the
    // null position, the text unchanged). Defined by the printer library
    // (printer/messages.cpp); a program that calls them links it.
    void AddPError(int severity, const VString& text);
    static void AddError(int severity, const VString& text);

    // The TIC text form of whole trees. Writing renumbers the tree's nodes
    // 0..n-1 in pre-order; reading returns 0 and the root, or an error
    // character with its text and a null root.
    static void PutTic(DovExpr* root, std::ostream& out);
    static char GetTicTree(std::istream& in, DovExpr*& root, VString& error);
    // Reads one node text (with its children) inside GetTicTree.
    static char GetTicOp(std::istream& in, DovExpr*& node, VString& error);

    // The next serial number.
    static std::int32_t node_ctr;

protected:
    // Detaches this node from the parent that still holds it (parent_ is
    // set), with the report of deleting an attached node.
    void ForgetParentOnDelete();
    // Tells the name index that this node's slots are about to change.
    void SlotsChanging() {
        if (has_name_index_) DovNameIndexSlotsChanging(this, false);
    }

private:
    friend class DovExprOper;

    // A printed length outside 16 bits lives in the printer table; this
    // value in printed_len_ says so.
    static constexpr std::int16_t kPrintedLenInTable = INT16_MIN;
    int PrintedLengthFromTable() const;

    // Ordered so that the header packs into 40 bytes with the vtable
    // pointer. An operator node's slot count is its slot array's length.
    std::uint16_t oper_ : 11;
    std::uint16_t flag_ : 2 = 0;
    // Set while the printer table holds fields of this node; not copied
    // with the node.
    std::uint16_t has_printer_fields_ : 1 = 0;
    // Set for DovExprOper nodes, the nodes with a slot array.
    std::uint16_t has_slots_ : 1 = 0;
    // Set while the symbol tables' name index keeps a record of this node
    // (SYMBOL_TABLE_ELT_LIST nodes only); not copied with the node.
    std::uint16_t has_name_index_ : 1 = 0;
    std::int16_t printed_len_ = 0;
    std::int32_t serial_;
    DovExpr* parent_ = nullptr;
    DovGenPosn gen_beg_;
    DovGenPosn gen_end_;
    DovTokenList tokens_;
};

// "%s at expr node %s #%ld with %d args: %s", sent through the message hook
// at the begin position of the node's subtree.
void DovExprReport(const DovExpr* node, int severity, const char* label, const VString& text);

// Sets the two-bit flag of a node.
void DovExprSetFlagField(DovExpr* node, int value);

class DovExprOper : public DovExpr {
public:
    // As many empty slots as the catalogue fixes for the code (none for a
    // list or an invalid code).
    explicit DovExprOper(DovOper op);
    // The given children in the first slots. A positional operation gets
    // every slot the catalogue fixes, the ones not given empty.
    DovExprOper(DovOper op, std::initializer_list<DovExpr*> args);
    template <typename... A>
        requires(sizeof...(A) >= 1 && sizeof...(A) <= 10 && (std::is_convertible_v<A, DovExpr*> && ...))
    DovExprOper(DovOper op, A... args) : DovExprOper(op, {static_cast<DovExpr*>(args)...}) {}
    // n slots; when `args` is given, args[i] goes into slot i as SetArgNoDel
    // puts it: a node that already has a parent is reported and taken out of
    // its old place, which becomes empty. A positional operation whose fixed
    // count is not n is reported, and the node keeps its n slots.
    DovExprOper(DovOper op, DovExpr** args, int n);
    DovExprOper(const DovExprOper& other);
    ~DovExprOper() override;

    DovExpr* Copy() const override { return new DovExprOper(*this); }
    void SetOper(DovOper op, int reset, int shrink) override;
    DovExpr* Args(int i) const override;
    DovArgSlot* ArgSlots(int i) const override;
    void SetArg(int i, DovExpr* node, int order = -1, int code = 0) override;
    void SetArgNoDel(int i, DovExpr* node) override;
    void SetArg(int i, DovArgSlot* slot) override;
    void SetArgToList(int i, DovOper list_op, DovExpr* node) override;
    void AddArg(DovExpr* node) override;
    void InsArg(DovExpr* node, int pos) override;
    void InsSibBefore(DovExpr* node) override;
    void InsSibAfter(DovExpr* node) override;
    DovExpr* DelArg(int i, int remove, int fill) override;
    DovArgSlot* DelArgSlot(int i, int remove, int fill) override;
    int FindArg(const DovExpr* node) const override;
    void PrettyPrintOper(int pass) override;
    void PutTicNode(std::ostream& os) const override;
    char GetTic(std::istream& is, VString& message) override;
    void Print(std::ostream& os) const override;

    void PrintArgs(std::ostream& os) const;
    void Report(int severity, const char* label, const VString& text) const;

    // The template interpreter of the pretty printer (defined by the printer
    // library): prints or, in the length pass, measures this node with
    // `tmpl`. 0, or the result character of the first failure.
    char print(const char* tmpl, int lengthPass, int breakRequest, int attachedTokens);

    // Printer fields: the widths of the stretches between the break points
    // of the node's template, measured by the last length pass, and the
    // column register x of the template language. Only printed nodes have
    // them, so they live in a table beside the tree (an entry per node that
    // was given one, dropped with the node), not in every node.
    int SubdivCount() const;
    // The `SubdivCount()` widths, or null when there are none.
    const int* Subdivs() const;
    // Width `i`, or 0 outside 0..SubdivCount()-1.
    int SubdivWidth(int i) const;
    // Replaces the widths with a copy of `count` values from `widths`
    // (none for a count of 0 or less).
    void SetSubdivs(const int* widths, int count);
    int PrinterMark() const;
    void SetPrinterMark(int column);

protected:
    // Builds the slot array for `n` slots, each an empty record.
    void MakeSlots(int n);
    // The TIC text of a node after its slots and their children (nothing
    // here; a named-object use has its category and definition link there).
    virtual void PutTicTail(std::ostream& os) const;
    virtual char GetTicTail(std::istream& is, VString& message);

private:
    // The TIC text of a node before its slots: the common header; a
    // positional operation with another number of slots than the
    // catalogue's is reported, and written all the same.
    void PutTicHead(std::ostream& os) const;
    // Checks that `node` may be stored here and takes it out of any other
    // place first. False when storing it would make a cycle.
    bool PrepareToAttach(DovExpr* node, const char* label);
    // Reports and answers true when `node` is this node or one above it.
    bool RefuseCycle(const DovExpr* node, const char* label) const;
    // Inserts `node` into the parent's slots `after` (0 or 1) places past
    // this node's own.
    void InsSib(DovExpr* node, int after, const char* label);
    // Deletes the slots and their children: up to a fixed depth below the
    // node being deleted by calling the children's destructors, deeper down
    // by handing the operator children to the outermost deletion.
    inline void DeleteSlots();
    // The outermost deletion: the slots, then the children handed on.
    [[gnu::noinline]] void DeleteTree();

    friend class DovExpr;

    DovSlotArray slots_;
};

// Every node pays for the header, so each 8 bytes of it count.
static_assert(sizeof(void*) != 8 || sizeof(DovExpr) <= 40, "DovExpr grew past 40 bytes");
static_assert(sizeof(void*) != 8 || sizeof(DovExprOper) <= 56, "DovExprOper grew past 56 bytes");

inline int DovExpr::NumArgs() const {
    return has_slots_ ? static_cast<int>(static_cast<const DovExprOper*>(this)->slots_.size()) : 0;
}

inline DovArgSlot* DovExpr::SlotAt(int i) const {
    return static_cast<const DovExprOper*>(this)->slots_[static_cast<std::size_t>(i)];
}

class DovNullNode : public DovExpr {
public:
    DovNullNode() : DovExpr(NULL_NODE) {}
    DovNullNode(const DovNullNode& other) : DovExpr(other) {}
    DovExpr* Copy() const override { return new DovNullNode(*this); }
    int IsNull() const override { return 1; }
    void Print(std::ostream& os) const override;
};

class DovCharString : public DovExpr {
public:
    explicit DovCharString(const VString& text) : DovExpr(CHAR_STRING), text_(text) {}
    DovCharString(const DovCharString& other) : DovExpr(other), text_(other.text_) {}
    DovExpr* Copy() const override { return new DovCharString(*this); }
    int IsTerminal() const override { return 1; }
    const VString& Image() const override { return text_; }
    VString Value() const override { return text_; }
    char SetImage(const VString& image, VString* error = nullptr) override;
    void SetValue(const VString& value) override;
    void PutTicNode(std::ostream& os) const override;
    char GetTic(std::istream& is, VString& message) override;
    void Print(std::ostream& os) const override;

private:
    VString text_;
};

// Trace level of the tree writer: above 0 it prints the node counts and a
// dump of every tree it writes.
extern int DovTicTraceLevel;

// The empty node that a stored node text of `code` with `count` arguments
// is read into.
char DovMakeEmptyNode(DovOper code, int count, DovExpr*& node, VString& error);
// While a tree is read: turns a link's stored index into its target.
void SetLinkExprFromIndex(DovLink& link);

// Consistency check of a tree: 0, or '%' when a node occurs twice or a link
// leaves the tree (such links are cut). Findings go to `msgs`.
char DovCheckTree(DovExpr* root, DovTokenList* msgs);
void DovCheckLink(DovLink* link, DovExpr* holder, int backcheck);
// Walk callbacks shared by the check and the TIC writer and reader.
// DovSetLinkIndexes, after a numbering from 0 with DovNumberNode, gives each
// link its target's number, or -1 when it has no target or the target was
// not numbered with this tree.
int DovNumberNode(DovExpr* node, void* context);
int DovSetLinkIndexes(DovExpr* node, void* context);
int DovResolveLinkIndexes(DovExpr* node, void* context);

// Child i of `node`, or null for a missing node, an index outside the slots
// or an empty slot; unlike Args it reports nothing.
inline DovExpr* DovArgOrNull(const DovExpr* node, int i) {
    if (!node || i < 0 || i >= node->NumArgs()) return nullptr;
    DovArgSlot* slot = node->SlotAt(i);
    return slot ? slot->arg : nullptr;
}

// Tells the tree-change hook of a change, when one is installed.
void DovTreeChanged(int kind, DovExpr* node, DovExpr* child, int index, const VString& text = VString::Empty);
// A change of a node's text (kind DOV_CHANGE_TEXT) or of the node itself.
inline void DovTextChanged(DovExpr* node, const VString& text) { DovTreeChanged(DOV_CHANGE_TEXT, node, nullptr, 0, text); }

// Writes ". " once per dump depth.
void DovDumpIndent(std::ostream& os);

// An array of n new empty slot records; the caller owns both.
DovArgSlot** DovNewArgSlots(int n);

// Joins two expressions into one list node of `op` without nesting lists of
// the same operation; null and NULL_NODE operands are dropped.
DovExpr* DovListExpr(DovOper op, DovExpr* e1, DovExpr* e2 = nullptr);

// Editing helpers over whole trees.
void DovFillNullArgs(DovExpr*& root);
int DovDropNullNodes(DovExpr* root);
int DovDropNullListArgs(DovExpr* root);
int DovSpliceList(DovExpr* node);
void DovAddComment(DovExpr* node, const VString& text);

// Searches up and down the tree.
int DovExprContains(const DovExpr* node, const DovExpr* target);
DovExpr* DovFindOperBelow(DovExpr* node, DovOper op);
DovExpr* DovExprRoot(DovExpr* node);
DovExpr* DovEnclosingOper(DovExpr* node, DovOper op);
int DovHasEnclosingOper(DovExpr* node, DovOper op, DovExpr** out);
DovExpr* DovEnclosingList(DovExpr* node);
DovExpr* DovEnclosingEntry(DovExpr* node);
DovExpr* DovEnclosingSection(DovExpr* node);
int DovIsLastInSentence(DovExpr* node);
