// DovTransform: the base of every transformation. A transformation is a named
// object applied to a program tree node by node; it may refer to other
// transformations, define its own command-line options and be written to and
// read from a transformation file. This header also holds the class registry,
// the engine's entry points and the usage map, all static members of the
// class, and the small shared state of the transformation library.
#pragma once

#include <cstddef>
#include <iosfwd>

#include "lbase/cmdline.h"
#include "lbase/vstring.h"
#include "tree/token.h"

class DovExpr;
class DovTransform;
// The parser and the printer are higher libraries; a transformation only
// hands their objects on, so it knows them by name alone.
class DovParser;
class DovPrettyPrinter;

struct DovTransWalkRecord;

// A function that receives the library's messages that have no message list
// to go to (capacity overflows, a lost node in the walker, failed loads).
using DovTransformMessageFn = void (*)(const VString& text);
// Consulted by the walker before each node: nonzero skips the node and its
// subtree. Called with the node and the node the walk started at.
using DovTransformCutOffFn = int (*)(DovExpr* node, DovExpr* start);
// The tree walker that ApplyAll runs.
using DovTransformWalkerFn = char (*)(DovExpr* node, DovTransWalkRecord& record);
// Makes a new transformation of one registered class.
using DovTransformFactory = DovTransform* (*)();

// The default message hook: "ERROR: ", the text and an end of line on
// standard output.
void DovTransformPrintError(const VString& text);
extern DovTransformMessageFn DovTransformMessageHook;

// Trace level of the transformation library: 0 silent; 1 and above push a
// debug context per application and write the short engine traces; above 1
// also the entry and exit lines of every application and walker level.
extern int DovTransformDebugLevel;

// Most transformations alive at once in the table of live objects, most
// registered classes, most nested applications, most references of one
// transformation.
constexpr int DOV_MAX_LIVE_TRANSFORMS = 1024;
constexpr int DOV_MAX_REGISTERED_TRANSFORMS = 1024;
constexpr int DOV_MAX_NESTED_TRANSFORMS = 1024;
constexpr int DOV_MAX_TRANSFORM_REFS = 128;

// One reference from a transformation to another.
struct DovTransformRef {
    DovTransformRef() = default;
    // All four fields as given.
    DovTransformRef(const VString& name, DovTransform* transform, int owned, int load)
        : name(name), transform(transform), owned(owned), load(load) {}
    // The name taken from the transformation (empty for null); the load flag
    // is left to the caller.
    DovTransformRef(DovTransform* transform, int owned);
    // Takes the transformation over from `variable`, which becomes null: the
    // entry owns it when there was one. Load flag 1.
    DovTransformRef(const VString& name, DovTransform*& variable);

    // Deletes an owned transformation and clears the pointer.
    void Release();
    // The transformation: the owned one, or else the one the current storage
    // finds or loads by name (null when it has none). A failure other than
    // "not found" goes to the message hook.
    DovTransform* Get();
    // Looks the transformation up through the current storage unless the
    // entry owns it: 0, or the storage's code with an MSG_ERR message in
    // `msgs` (when given).
    char Resolve(DovTokenList* msgs);

    VString name;                       // the referenced instance name
    DovTransform* transform = nullptr;  // null until resolved
    int owned = 0;                      // nonzero: deleted and cloned with the referring one
    int load = 0;                       // nonzero: resolved by name when references are loaded
};

class DovTreeIterator;
class DovLinkList;

// Result codes of transformation operations (one byte; 0 is success).
enum DovTransformResult : char {
    DOV_TR_NOT_APPLICABLE = 'A',
    DOV_TR_RESTART = 'B',
    DOV_TR_LIMIT = 'C',
    DOV_TR_NO_MATCH = 'D',
    DOV_TR_NOT_REGISTERED = '<',
    DOV_TR_NOT_FOUND = 'n',
};

// Results of the class registry.
enum DovTransformRegistryResult : int {
    DOV_REG_NOT_REGISTERED = 110,  // registry empty, class unknown or bad range
    DOV_REG_DUPLICATE = 111,       // class name already registered
    DOV_REG_FULL = 112,            // every entry in use
};

class DovTransform {
public:
    DovTransform(const VString& name, const VString& description);
    // Owned references are cloned, the others shared; the options are not
    // copied (the copy runs DefineOptions again when it needs them).
    DovTransform(const DovTransform& other);
    DovTransform& operator=(const DovTransform&) = delete;

    // The table of virtual operations, in its fixed order.
    virtual DovTransform* Clone() const = 0;
    // Deletes the owned references.
    virtual ~DovTransform();
    virtual int ReservedFalse() const { return 0; }
    // True: the transformation may change the tree, so the engine re-checks
    // the path above the node after each application.
    virtual bool ModifiesTree() const { return true; }
    virtual int ReservedTrue() const { return 1; }
    // The name under which the class registers and which its files carry.
    virtual VString ClassName() const;
    virtual VString ClassDescription() const;
    // Fills `options`; the base defines none.
    virtual void DefineOptions() {}
    // Prepares for one parsed file; the base does nothing.
    virtual int Prepare(DovParser* parser, DovPrettyPrinter* printer, DovTokenList* msgs);
    // Prepare's result reduced to one byte; the file name is not used here.
    virtual char PrepareFile(const VString& file, DovParser* parser, DovPrettyPrinter* printer, DovTokenList* msgs);
    // Called for each input file before it is parsed; the base returns 0.
    virtual char PreProcess(const VString& file, DovParser* parser, DovPrettyPrinter* printer, DovTokenList* msgs);
    // Resolves the references that carry the load flag, then lets each
    // referenced transformation load its own, depth first. A transformation
    // met again while it is being loaded (a cycle) stops it with 'C'.
    virtual char LoadRefs(DovTokenList* msgs);
    // The per-node work. `after`, when given, may receive the node where
    // processing goes on.
    virtual char TransformNode(DovExpr* node, int apply, DovTokenList* msgs, DovExpr** after) = 0;
    // Runs the walker over the subtree of `node`: 0 when the walk ended
    // normally, else the code that stopped it. A transformation that
    // modifies the tree may change the subtree and replace `node` itself,
    // but nothing above it: the walk keeps `node`'s parent to see whether
    // `node` is still in place.
    virtual char ApplyAll(DovExpr* node, int apply, DovTokenList* msgs, DovExpr** after);
    // The transformation record of a transformation file.
    virtual void PutTic(std::ostream& os) const;
    virtual char GetTic(std::istream& is, VString& message);
    // One debug line.
    virtual void Print(std::ostream& os) const;

    // Every transformation made with new is recorded in the table of live
    // objects; freed memory reads 0xAA.
    static void* operator new(std::size_t size);
    static void operator delete(void* p, std::size_t size);
    // Destroys every object still in the table of live objects.
    static void DeleteAllLive();
    static void AddToLiveTable(DovTransform* p);
    static void RemoveFromLiveTable(const void* p);
    // Forgets the memory in the table and fills it with 0xAA; the release
    // step of operator delete before the heap takes the memory back.
    static void ScrubFreed(void* p, std::size_t size);
    static int LiveCount();
    static int LiveHighWater();
    static DovTransform* LiveAt(int i);

    // The class registry. Results 0, DOV_REG_*, or '<' from NewByName; a
    // failure's text goes to `message`.
    static int Register(const DovTransform& sample, DovTransformFactory factory, VString& message);
    static int UnRegister(const DovTransform& sample, VString& message);
    // Removes the entries first .. last - 1.
    static int UnRegister(int first, int last, VString& message);
    static int NewByName(const VString& class_name, DovTransform*& out, VString& message);
    static int RegisteredCount();
    // Entry i's class name and description (empty outside the entries).
    static const VString& RegisteredName(int i);
    static const VString& RegisteredDescription(int i);

    // The engine. One application at one node; `after`, when given,
    // receives the node where processing goes on.
    static char SearchTransform(DovTransform* t, DovExpr* node, int apply, DovTokenList* msgs, DovExpr** after);
    // Search mode at one node: `found` becomes 1 when the transformation
    // applies; returns 0 or the code of a failure.
    static char MatchesAt(DovTransform* t, DovExpr* node, int& found, DovTokenList* msgs);
    // Applies at one node as long as the transformation reports success.
    static char ApplyRepeatedly(DovTransform* t, DovExpr* node, DovTokenList* msgs, DovExpr** after);
    // Number of applications running (nested) right now.
    static int NestedDepth();

    // Searches driven by a tree iterator, in search mode (apply 0). Next and
    // Previous: 0 with the iterator on the first node where TransformNode
    // returned 0, 'D' when there is none (the iterator then is null), or the
    // code that stopped the search. CollectMatches appends every matching
    // node of the iterator's subtree to `out`.
    static char SearchNext(DovTransform* t, DovTreeIterator& it, DovTokenList* msgs);
    static char SearchPrevious(DovTransform* t, DovTreeIterator& it, DovTokenList* msgs);
    static char CollectMatches(DovTransform* t, DovTreeIterator& it, DovLinkList& out, DovTokenList* msgs);

    // References. FindRef: the transformation of the first entry of that
    // name (through DovTransformRef::Get), or null. InsRef: puts a copy of
    // the entry at `index` (appends for an index outside 0 .. count) and
    // returns the index used, or -1 when the array is full. AddOwnedRef:
    // appends {t's name, t, owned, load 1} and marks t as owned when it
    // went in; -1 when full (t then stays the caller's). RemoveRef: takes
    // out the entry at `index` (the last one for an index outside the
    // entries) and returns it; nothing is deleted. ResolveRefs: resolves
    // every entry with the load flag; 0 or the first failure code.
    DovTransform* FindRef(const VString& ref_name);
    int InsRef(const DovTransformRef& entry, int index);
    int AppendRef(const DovTransformRef& entry);
    int AddOwnedRef(DovTransform* t, int owned);
    DovTransformRef RemoveRef(int index);
    char ResolveRefs(DovTokenList* msgs);

    // Writes the transformation file: the directory name ("-(no-dir)-" when
    // empty), "/", the instance name and ".dov". 0, or 10 when the file
    // cannot be written, 20 for a name that would leave the directory.
    int Save(VString& message) const;

    // Announces, from inside TransformNode, that `t` did its work at the
    // node being transformed: counts the use (unless quiet) and attaches a
    // "Found"/"Applied" message when asked to.
    static void WillTransform(DovTransform* t, int quiet);

    // Fields.
    VString name;
    VString description;
    VString dir_name;
    DovCommandLineFlagTable options;
    DovTransformCutOffFn cut_off = nullptr;
    DovTransformWalkerFn walker;
    int ref_count = 0;
    DovTransformRef refs[DOV_MAX_TRANSFORM_REFS];
    int is_owned = 0;
};
