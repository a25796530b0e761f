// Data description entries: the level-number check, and the placing of data,
// report-group and screen entries into records by their levels, with the 66,
// 78 and 88 entries turned into their own node kinds.
#include <initializer_list>

#include "parser/clauses.h"
#include "parser/parser_impl.h"
#include "tree/named.h"
#include "tree/walk.h"

namespace {

// Slots of DECL_DD_ENTRY (and of the Wang form up to kDdDerivedEnd).
constexpr int kDdLevel = 0;
constexpr int kDdCopyBefName = 1;
constexpr int kDdDataName = 2;
constexpr int kDdUsage = 5;
constexpr int kDdValue = 14;
constexpr int kDdUninlinedCopy = 15;
constexpr int kDdSlots = 21;
// Slots of DECL_CONST_ENTRY and DECL_COND_ENTRY.
constexpr int kDdcValue = 3;
constexpr int kDdcUninlinedCopy = 4;

constexpr int kNo = CLAUSE_FORBIDDEN;
constexpr int kMay = CLAUSE_ALLOWED;
constexpr int kMust = CLAUSE_REQUIRED;

// Clause tables of the special levels, one entry per DECL_DD_ENTRY slot:
// level, COPY before name, name, REDEFINES, PICTURE, USAGE, BLANK WHEN ZERO,
// JUSTIFIED, SIGN, SYNCHRONIZED, EXTERNAL, GLOBAL, RENAMES, OCCURS, VALUE,
// uninlined COPY, and the five slots the data layout fills. The name of a 78
// and of an 88 entry has its own message.
constexpr int kConstantClauses[kDdSlots] = {kMust, kMay, kMay, kNo, kNo,  kNo,  kNo,  kNo,  kNo,  kNo, kNo,
                                            kNo,   kNo,  kNo, kMust, kMay, kMay, kMay, kMay, kMay, kMay};
constexpr int kRenamesClauses[kDdSlots] = {kMust, kMay, kMust, kNo, kNo,  kNo,  kNo,  kNo,  kNo,  kNo, kNo,
                                           kNo,   kMust, kNo,  kNo, kMay, kMay, kMay, kMay, kMay, kMay};
constexpr int kConditionClauses[kDdSlots] = {kMust, kMay, kMay, kNo, kNo,  kNo,  kNo,  kNo,  kNo,  kNo, kNo,
                                             kNo,   kNo,  kNo, kMust, kMay, kMay, kMay, kMay, kMay, kMay};

bool Present(const DovExpr* node) { return node && node->Oper() != NULL_NODE; }

// The marker statements that the lexer puts between entries.
bool IsMarker(DovOper op) {
    switch (op) {
        case STMT_INLINED_COPY_BEG:
        case STMT_INLINED_COPY_END:
        case STMT_REPLACE:
        case STMT_REPLACE_OFF:
        case STMT_INLINED_INCLUDE_BEG:
        case STMT_INLINED_INCLUDE_END:
            return true;
        default:
            return false;
    }
}

// Markers that open something: they wait for the entry that follows.
bool IsOpeningMarker(DovOper op) {
    return op == STMT_INLINED_COPY_BEG || op == STMT_REPLACE || op == STMT_INLINED_INCLUDE_BEG;
}

// Holders are the nodes made around entries: argument 0 the entry, argument
// 1 the list of subordinate entries. A node placed without a holder (a
// marker) takes no subordinate entries.
bool IsHolder(const DovExpr* node) {
    if (!node) return false;
    switch (node->Oper()) {
        case DECL_DD:
        case DECL_RGD:
        case DECL_SCRD:
            return true;
        default:
            return false;
    }
}

int EffectiveLevel(int level) {
    if (level == 66) return 2;
    if (level == 77) return 1;
    return level;
}

// The entry of a holder, or the node itself when it is none.
DovExpr* EntryOf(DovExpr* node) { return IsHolder(node) ? DovArgOrNull(node, 0) : node; }

bool HasDisplayWsUsage(const DovExpr* entry) {
    const DovExpr* usage = DovArgOrNull(entry, kDdUsage);
    if (!usage || usage->Oper() != DX_USAGE) return false;
    const DovExpr* type = DovArgOrNull(usage, 0);
    return type && type->Oper() == DU_DISPLAY_WS;
}

// The one literal of a simple VALUE clause: an EX_COND_VALUE without WHEN
// SET TO FALSE whose ranges are one value without THRU. Null for any other
// form.
DovExpr* SimpleValueLiteral(DovExpr* value) {
    if (!value || value->Oper() != EX_COND_VALUE || Present(DovArgOrNull(value, 1))) return nullptr;
    DovExpr* ranges = DovArgOrNull(value, 0);
    if (ranges && ranges->Oper() == EX_VALUE_RANGE_LIST) {
        if (ranges->NumArgs() != 1) return nullptr;
        ranges = DovArgOrNull(ranges, 0);
    }
    if (!ranges || ranges->Oper() != EX_VALUE_RANGE || Present(DovArgOrNull(ranges, 1))) return nullptr;
    DovExpr* literal = DovArgOrNull(ranges, 0);
    return Present(literal) ? literal : nullptr;
}

// Where the tokens of a node that is taken apart go: in front of the kept
// node until it is met, after it once it has been.
struct TokenSplit {
    const DovExpr* keep;
    DovTokenList before;
    DovTokenList after;
    bool met = false;
};

// Turns a simple VALUE clause into a node of `op` whose argument 0 is the
// literal; the tokens of the clause around the literal keep their order.
// Null, with the clause left as it is, when the clause is not simple.
DovExpr* SimplifyValue(DovExpr* value, DovOper op) {
    DovExpr* literal = SimpleValueLiteral(value);
    if (!literal) return nullptr;
    TokenSplit split{literal, {}, {}, false};
    DovNamedWalk(
        value, &split, "SimplifyValueWalker",
        [](DovExpr* n, DovExpr*, void* ctx) -> int {
            auto* s = static_cast<TokenSplit*>(ctx);
            if (n != s->keep) return DOV_WALK_DESCEND;
            s->met = true;
            return DOV_WALK_SKIP;
        },
        nullptr,
        [](DovTokenList* list, DovExpr*, DovExpr*, void* ctx) -> int {
            auto* s = static_cast<TokenSplit*>(ctx);
            (s->met ? s->after : s->before).AppendList(*list);
            return DOV_WALK_DESCEND;
        });
    literal->DelThis();
    DovExpr* simple = new DovExprOper(op);
    simple->SetArg(0, literal);
    simple->ArgSlots(0)->tokens.AppendList(split.before);
    simple->Tokens().AppendList(split.after);
    if (WorkingParser) WorkingParser->ForgetNodesWithin(value);
    if (value->Parent()) value->DelThis();
    delete value;
    return simple;
}

}  // namespace

int DovParserImpl::CheckLevelNumber(DovExpr* entry) {
    if (!entry) return 0;
    const long long level = entry->Oper() == INT_NUM_CONST ? entry->IntValue() : 0;
    const VString& image = entry->Image();
    if ((level >= 1 && level <= 49) || image == "66" || image == "77" || image == "78" || image == "88")
        return static_cast<int>(level);
    ParserError(MSG_ERR, DovSrcPosnBeg(entry),
                DovFormat("Level number should be between 01 and 49, or 66, 77, 78, 88, not %s", image.CStr()));
    return static_cast<int>(level);
}

int DovParserImpl::AddDataEntry(int level, DovExpr* entry, int holderCode) {
    if (level == 99 && (!entry || IsMarker(entry->Oper()))) {
        if (!entry) return -1;
        if (IsOpeningMarker(entry->Oper()) || parkedMarkers) {
            parkedMarkers = DovListExpr(DECL_DD_LIST, parkedMarkers, entry);
            return -1;
        }
        // A closing marker with nothing parked: placed where it stands, as a
        // sibling of a 78 or 88 entry, else below the innermost entry.
        const int top = levelDepth > 0 ? levelStack[levelDepth - 1].level : 0;
        return PlaceDataEntry(top == 78 || top == 88 ? top : 99, entry, NULL_NODE);
    }
    // Any other node, also one with level 99 that is no marker, is placed:
    // nothing the grammar hands over is dropped.
    if (DovExpr* parked = parkedMarkers) {
        parkedMarkers = nullptr;
        while (parked->NumArgs() > 0) {
            DovArgSlot* slot = parked->DelArgSlot(0, 1, 0);
            DovExpr* marker = slot->arg;
            slot->arg = nullptr;
            if (marker) {
                marker->LeadingTokens()->PrependList(slot->tokens);
                PlaceDataEntry(level == 0 ? 1 : level, marker, NULL_NODE);
            }
            delete slot;
        }
        delete parked;
    }
    return PlaceDataEntry(level, entry, holderCode);
}

int DovParserImpl::PlaceDataEntry(int level, DovExpr* entry, int holderCode) {
    // An entry with a level below 1 (reported by CheckLevelNumber) still
    // takes its place, as a record of its own.
    const int effective = entry && level <= 0 ? 1 : EffectiveLevel(level);

    DovExpr* holder = entry;
    if (holderCode != NULL_NODE && entry && DovOperArgCount(static_cast<std::uint16_t>(holderCode)) >= 2) {
        holder = new DovExprOper(static_cast<DovOper>(holderCode));
        holder->SetArg(0, entry);
        holder->SetArg(1, new DovNullNode);
    }

    while (levelDepth > 0 &&
           (levelStack[levelDepth - 1].level >= effective || !IsHolder(levelStack[levelDepth - 1].holder))) {
        --levelDepth;
        if (levelDepth == 0) {
            dataList = DovListExpr(DECL_DD_LIST, dataList, levelStack[0].holder);
        }
        levelStack[levelDepth] = DovDataLevel{};
    }

    if (effective > 0 && holder) {
        if (levelDepth == 0 && holderCode == DECL_DD && level != 1 && level != 77 && level != 78)
            ParserError(MSG_ERR, DovNullPosn, "Non-01(77,78) Data Description Entry heads Record Description");
        if (levelDepth > 0) levelStack[levelDepth - 1].holder->SetArgToList(1, DECL_DD_LIST, holder);
        if (levelDepth >= kDovMaxDataLevels) {
            // Too deep: the entry stays at the deepest level, and the parse
            // goes on.
            ParserError(MSG_ERR, DovNullPosn, "Too many levels in record structure definition");
        } else {
            levelStack[levelDepth++] = DovDataLevel{effective, holder};
        }
    }

    // Wang DISPLAY entries stay such only inside a DISPLAY-WS record.
    if (entry && entry->Oper() == DECL_DD_ENTRY_WANG_DISPLAY) {
        DovExpr* record = levelDepth > 0 ? EntryOf(levelStack[0].holder) : entry;
        if (!HasDisplayWsUsage(record)) {
            // The Wang screen slots go; their source text stays with the entry.
            for (int i = kDdSlots; i < entry->NumArgs(); ++i) {
                entry->Tokens().AppendList(entry->ArgSlots(i)->tokens);
                if (DovExpr* child = entry->DelArg(i, 0, 0)) {
                    DovGatherTokens(child, &entry->Tokens());
                    ForgetNodesWithin(child);
                    delete child;
                }
            }
            entry->SetOper(DECL_DD_ENTRY, 0, 1);
        }
    }
    if (!entry || entry->Oper() != DECL_DD_ENTRY) return levelDepth;

    DovExpr* replacement = nullptr;
    switch (level) {
        case 78: {
            CheckClauseTable(entry, kConstantClauses, "78-level constant", DovNullPosn);
            DovExpr* name = DovArgOrNull(entry, kDdDataName);
            auto* def = name && name->Oper() == NAMED_OBJ_DEF ? static_cast<DovNamedObjDef*>(name) : nullptr;
            DovSymTabElt* element = def ? def->Element() : nullptr;
            bool fresh = def != nullptr;
            if (element) {
                // New: no other definition of the name is of another kind.
                for (const DovLink& link : element->References()) {
                    const DovExpr* other = link.target;
                    if (other && other != def && DovIsLiveLinkedNode(other) && other->Oper() == NAMED_OBJ_DEF &&
                        static_cast<const DovNamedObjDef*>(other)->Category() != NC_CONSTANT_NAME)
                        fresh = false;
                }
            }
            if (!fresh) {
                ParserError(MSG_ERR, DovNullPosn, "Name in 78-level constant is not new constant-name");
            } else {
                def->SetCategory(NC_CONSTANT_NAME);
                if (element) element->SetCategory(NC_CONSTANT_NAME);
            }
            DovExpr* value = DovArgOrNull(entry, kDdValue);
            if (Present(value)) {
                if (DovExpr* simple = SimplifyValue(value, EX_CONST_VALUE))
                    entry->SetArg(kDdValue, simple, -1, 0);
                else
                    ParserError(MSG_ERR, DovNullPosn, "Incorrect Value clause");
            }
            replacement = new DovExprOper(DECL_CONST_ENTRY);
            DovMoveSlotRecords(entry, replacement,
                               {{kDdLevel, 0}, {kDdCopyBefName, 1}, {kDdDataName, 2}, {kDdValue, kDdcValue},
                                {kDdUninlinedCopy, kDdcUninlinedCopy}});
            break;
        }
        case 66:
            CheckClauseTable(entry, kRenamesClauses, "66-level data-name", DovNullPosn);
            break;
        case 88: {
            CheckClauseTable(entry, kConditionClauses, "condition-name", DovNullPosn);
            DovExpr* name = DovArgOrNull(entry, kDdDataName);
            if (!name || name->Oper() != NAMED_OBJ_DEF)
                ParserError(MSG_ERR, DovNullPosn, "Condition has no data-name");
            replacement = new DovExprOper(DECL_COND_ENTRY);
            DovMoveSlotRecords(entry, replacement,
                               {{kDdLevel, 0}, {kDdCopyBefName, 1}, {kDdDataName, 2}, {kDdValue, kDdcValue},
                                {kDdUninlinedCopy, kDdcUninlinedCopy}});
            break;
        }
        default: {
            DovExpr* value = DovArgOrNull(entry, kDdValue);
            if (Present(value)) {
                if (DovExpr* simple = SimplifyValue(value, DX_VALUE))
                    entry->SetArg(kDdValue, simple, -1, 0);
                else
                    ParserError(MSG_ERR, DovNullPosn, "Incorrect Value clause");
            }
            break;
        }
    }

    if (replacement) {
        if (entry->Parent()) entry->ReplThis(replacement);
        for (int i = 0; i < levelDepth; ++i)
            if (levelStack[i].holder == entry) levelStack[i].holder = replacement;
        delete entry;
    }
    return levelDepth;
}
