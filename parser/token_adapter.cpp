// The token adapter between the lexer and the grammar (yylex), the position
// reduction that hands the tokens of each reduction to the nodes that hold
// its values (RdcPosn), and the collectors of EXEC blocks and NOTE
// paragraphs. Everything works on the working parser.
#include "parser/token_adapter.h"

#include <array>
#include <cstdint>
#include <iostream>
#include <sstream>

#include "lbase/strutil.h"
#include "parser/parser_impl.h"
#include "tree/leaf.h"
#include "tree/named.h"
#include "tree/walk.h"

YYSTYPE yylval = nullptr;
YYPOSN yyposn = nullptr;

namespace {

// Keyword pairs that the grammar sees as one token; rows with the same first
// code stand together.
struct MergeRow {
    int first;
    int second;
    int merged;
};

const MergeRow kMergeTable[] = {
    {RW_DATA, RW_DIVISION, RW_DATA_DIVISION},
    {RW_FILE, RW_SECTION, RW_FILE_SECTION},
    {RW_INPUT_OUTPUT, RW_SECTION, RW_INPUT_OUTPUT_SECTION},
    {RW_ENVIRONMENT, RW_DIVISION, RW_ENVIRONMENT_DIVISION},
    {RW_ID, RW_DIVISION, RW_ID_DIVISION},
    {RW_IDENTIFICATION, RW_DIVISION, RW_ID_DIVISION},
    {RW_END, RW_PROGRAM, RW_END_PROGRAM},
    {RW_END, RW_DECLARATIVES, RW_END_DECLARATIVES},
    {RW_EXIT, RW_PERFORM, RW_EXIT_PERFORM},
    {RW_NEXT, RW_SENTENCE, RW_NEXT_SENTENCE},
    {RW_WITH, RW_DATA, RW_WITH_DATA},
    {OP_MUL, OP_MUL, OP_EXP},
    {OP_GT, OP_EQ, OP_GE},
    {OP_LT, OP_EQ, OP_LE},
    {OP_LT, OP_GT, OP_NE},
    {STK_WITH, STK_HOLD, STK_WITH_HOLD},
    {STK_WITH, STK_RETURN, STK_WITH_RETURN},
    {0, 0, 0},
};

// Header keywords that belong in Area A.
constexpr int kAreaAHeaders[] = {RW_IDENTIFICATION, RW_ID, RW_CONFIGURATION, RW_SPECIAL_NAMES, RW_INPUT_OUTPUT,
                                 RW_FILE_CONTROL, RW_I_O_CONTROL, RW_FD, RW_SD, RW_CD, RW_RD, RW_WORKING_STORAGE,
                                 RW_LOCAL_STORAGE, RW_LINKAGE, RW_COMMUNICATION, RW_DECLARATIVES,
                                 RW_END_DECLARATIVES, RW_END_PROGRAM};

// What every token read asks of its code, by code: 1 + the index of the
// code's first row in kMergeTable (0: the code begins no pair), and whether
// it is an Area A header.
struct CodeFacts {
    std::uint8_t first_merge_row = 0;
    bool area_a_header = false;
};
static_assert(std::size(kMergeTable) <= 256, "kMergeTable rows no longer fit CodeFacts::first_merge_row");
constexpr std::array<CodeFacts, kDovLastTokenCode + 1> kCodeFacts = [] {
    std::array<CodeFacts, kDovLastTokenCode + 1> facts{};
    for (std::size_t i = std::size(kMergeTable) - 1; i-- > 0;)
        facts[static_cast<std::size_t>(kMergeTable[i].first)].first_merge_row = static_cast<std::uint8_t>(i + 1);
    for (int code : kAreaAHeaders) facts[static_cast<std::size_t>(code)].area_a_header = true;
    return facts;
}();

bool KnownCode(int code) { return code >= 0 && code <= kDovLastTokenCode; }

const MergeRow* FirstMergeRow(int code) {
    if (!KnownCode(code)) return nullptr;
    const int row = kCodeFacts[static_cast<std::size_t>(code)].first_merge_row;
    return row ? &kMergeTable[row - 1] : nullptr;
}

bool IsOneOf(int code, std::initializer_list<int> codes) {
    for (int c : codes)
        if (c == code) return true;
    return false;
}

// Codes before which an open statement gets the period the source left out.
bool ClosesStatement(int code) {
    return IsOneOf(code, {RW_END_DECLARATIVES, RW_END_PROGRAM, RW_IDENTIFICATION, RW_ID, 0});
}

bool IsAreaAHeader(int code) { return KnownCode(code) && kCodeFacts[static_cast<std::size_t>(code)].area_a_header; }

// Headers after which no name classification switched off for a computer
// name can still be meant.
bool EndsSourceComputer(int code) {
    return IsOneOf(code, {0, RW_OBJECT_COMPUTER, RW_SPECIAL_NAMES, RW_REPOSITORY, RW_INPUT_OUTPUT_SECTION,
                          RW_FILE_CONTROL, RW_I_O_CONTROL, RW_DATA_DIVISION, RW_FILE_SECTION, RW_WORKING_STORAGE,
                          RW_LOCAL_STORAGE, RW_LINKAGE, RW_PROCEDURE, RW_ID_DIVISION, RW_END_PROGRAM});
}

bool IsMarker(int code) {
    return code == SEP_UNINLINED_COPY || code == SEP_INLINED_COPY || code == SEP_COPY_EOF || code == SEP_REPLACE;
}

bool Tracing(const DovParserImpl* p) { return p->tokenTrace != 0; }

// Whether the procedure division's current sentence has begun: the last
// code delivered is no period (nor the marker of a COPY not inlined, which
// gets no period of its own at a sentence's start).
bool InSentence(const DovParserImpl* p) {
    return p->procDivision && p->lastCode != SEP_DOT && p->lastCode != SEP_UNINLINED_COPY && p->lastCode != 0;
}

// A period that the adapter supplies: empty image, both positions `at`.
DovTokenItem* NewPeriod(const DovTxtPosn& at) {
    return new DovTokenItem(new DovToken(SEP_DOT, VString(), DovTxtPosnRange{at, at}));
}

// Peeks at the code of the token after the one being processed.
int PeekCode(DovLexer& lexer) {
    DovTokenItem* next = lexer.GetToken();
    const int code = next->token->code;
    lexer.UnGetToken(next);
    return code;
}

// Whether the token after a marker inside a sentence leaves the marker a
// statement of its own: another marker, the end of input, or a token that
// ends the statement before it (a period, a verb, ELSE, WHEN, a scope
// terminator).
bool MarkerEndsStatement(DovParserImpl* p, DovLexer& lexer) {
    const int next = p->pushedBack ? p->pushedBack->token->code : PeekCode(lexer);
    switch (next) {
        case SEP_INLINED_COPY: case SEP_UNINLINED_COPY: case SEP_COPY_INC: case SEP_COPY_EOF: case SEP_REPLACE:
        case SEP_EOF:
            return true;
        default:
            return DovEndsOpenStatement(next);
    }
}

bool IsCopyBegin(const DovExpr* node) { return node && DovIsCopyBegin(node->Oper()); }
bool IsCopyEnd(const DovExpr* node) { return node && DovIsCopyEnd(node->Oper()); }

// The nesting level a member's begin or end marker carries.
int CopyLevel(const DovExpr* node) {
    const DovExpr* level = DovArgOrNull(node, IsCopyBegin(node) ? 3 : 1);
    return level ? static_cast<int>(level->IntValue()) : -1;
}

// Whether the marker `value` is folded into the text as the adapter reads
// it: the end of a member whose begin was folded, and the begin of a member
// that starts where the tree has no place for a marker before the words it
// brings: the computer name after "SOURCE-COMPUTER." or "OBJECT-COMPUTER.",
// and the CONFIGURATION SECTION header (always the section's first clause).
bool FoldsAtLexTime(DovParserImpl* p, DovLexer& lexer, DovExpr* value) {
    if (IsCopyEnd(value)) {
        if (p->foldedCopyLevels.empty() || p->foldedCopyLevels.back() != CopyLevel(value)) return false;
        p->foldedCopyLevels.pop_back();
        return true;
    }
    if (!IsCopyBegin(value) || p->pushedBack) return false;
    const int next = PeekCode(lexer);
    const bool name = p->computerName == 2 && (next == TK_USER_DEFD_WORD || next == TK_CHAR_STRING);
    if (!name && next != RW_CONFIGURATION) return false;
    p->foldedCopyLevels.push_back(CopyLevel(value));
    return true;
}

// The value of a user-defined word: its symbol-table element, with the code
// its name category gives; a plain character string when it is not looked up.
DovExpr* UserWordValue(DovParserImpl* p, DovToken* token, int& code, bool lookUp) {
    if (!lookUp) {
        code = TK_CHAR_STRING;
        return new DovCharString(token->image);
    }
    DovSymTabElt* element = p->FindNameInProg(token->image);
    if (element) {
        switch (element->Category()) {
            case NC_SYMBOLIC_CHAR: code = UW_SYMBOLIC_CHAR; break;
            case NC_SYMBOLIC_CONSTANT: code = UW_SYMBOLIC_CONSTANT; break;
            case NC_USER_FIGURATIVE_CONST: code = UW_USER_FIG_CONST; break;
            case NC_CONSTANT_NAME: code = UW_CONSTANT_NAME; break;
            default: break;
        }
    }
    return element;
}

void PrintTokens(std::ostream& os, const DovTokenList& list) { list.Print(os); }

}  // namespace

int yylex() {
    DovParserImpl* p = WorkingParser;
    yylval = nullptr;
    yyposn = nullptr;
    if (!p) return 0;
    DovLexer& lexer = p->lexer;
    const bool fixedColumns = lexer.lineFormat != LINE_FORMAT_FREE && lexer.lineFormat != LINE_FORMAT_FSC_FREE;
    DovTokenList P;

    for (;;) {
        DovTokenItem* item = nullptr;
        int code = 0;
        if (p->pushedBack) {
            // 2. Delivered as it stands.
            item = p->pushedBack;
            p->pushedBack = nullptr;
            code = item->token->code;
            P.AppendList(item->list);
        } else {
            // 3. Read and recode.
            item = p->lexer.GetToken();
            P.AppendList(item->list);
            code = item->token->code;
            bool special = true;
            switch (code) {
                case SEP_UNINLINED_COPY:
                    if (p->lastCode != SEP_DOT && p->lastCode != SEP_UNINLINED_COPY)
                        p->pushedBack = NewPeriod(item->token->End());
                    break;
                case SEP_INLINED_COPY:
                    if (lexer.oldCopy && p->lastCode != SEP_DOT) p->oldCopySkip = 1;
                    break;
                case SEP_COPY_INC: code = SEP_INLINED_COPY; break;
                case SEP_COPY_EOF: case SEP_REPLACE: break;
                case SEP_EOF: code = 0; break;
                case RW_ROLLBACK: case RW_ALTERNATE: case RW_ASSIGN:
                    if (DovDialsLevel(lexer.dials, DIAL_WANG))
                        code = code == RW_ROLLBACK ? RW_ROLLBACK_WANG
                               : code == RW_ALTERNATE ? RW_ALTERNATE_WANG : RW_ASSIGN_WANG;
                    break;
                case RW_ON:
                    if (p->oldCopySkip) {
                        special = false;
                    } else if (IsOneOf(PeekCode(lexer), {RW_ASCENDING, RW_DESCENDING, RW_SIZE, RW_ESCAPE,
                                                         RW_EXCEPTION, RW_OVERFLOW})) {
                        code = CMB_ON_BEF_KWD;
                    }
                    break;
                case RW_NOT:
                    if (p->oldCopySkip) {
                        special = false;
                    } else if (IsOneOf(PeekCode(lexer), {RW_END, RW_END_OF_PAGE, RW_EOP, RW_SIZE, RW_AT, RW_ON,
                                                         RW_ESCAPE, RW_EXCEPTION, RW_OVERFLOW, RW_INVALID})) {
                        code = CMB_NOT_ON_AT;
                    }
                    break;
                default: special = false; break;
            }
            item->token->code = static_cast<std::int16_t>(code);
            // The code of a merged pair's first word (step 7 reads it).
            const int firstWord = code;

            if (!special) {
                // 4. Old-COPY skip: everything up to the period goes; the
                // tokens kept before it stay.
                if (p->oldCopySkip) {
                    if (code != SEP_DOT) {
                        delete item;
                        continue;
                    }
                    p->oldCopySkip = 0;
                }
                // 5. Keyword pairs.
                if (const MergeRow* row = FirstMergeRow(code)) {
                    DovTokenItem* second = lexer.GetToken();
                    const MergeRow* match = nullptr;
                    for (; row->first == code; ++row)
                        if (row->second == second->token->code) {
                            match = row;
                            break;
                        }
                    if (match) {
                        code = match->merged;
                        item->token->code = static_cast<std::int16_t>(code);
                        item->token->range.end = second->token->End();
                        P.AppendItemDropToken(second);
                    } else {
                        lexer.UnGetToken(second);
                    }
                }
            }

            // 6. Area checks.
            if (code == TK_USER_DEFD_WORD || code == TK_INT_NUM_LIT) {
                const int column = item->token->Beg().Column();  // 0-based
                if (p->procDivision && fixedColumns && !DovDialsLevel(lexer.dials, DIAL_MF) &&
                    !DovDialsLevel(lexer.dials, DIAL_MS) && item->token->Beg().IsSet() && column >= 7 &&
                    column <= 10) {
                    code = TK_AREA_A_NAME;
                    item->token->code = static_cast<std::int16_t>(code);
                }
            } else if (IsAreaAHeader(code) && !(code == RW_LINKAGE && p->lastCode != SEP_DOT)) {
                // (LINKAGE after anything but a period closes WITH ... LINKAGE:
                // no section header.)
                if (fixedColumns && item->token->Beg().IsSet() && item->token->Beg().Column() >= 11)
                    p->ParserError(MSG_WARN, item->token->Beg(),
                                   DovFormat("This token should appear in Area A, not in Area B: %s",
                                             TokenExpr(code, nullptr).CStr()));
            }

            // 7. A period the source left out. A merged pair closes the
            // statement as its first word does (IDENTIFICATION DIVISION).
            if ((ClosesStatement(code) || ClosesStatement(firstWord)) && p->lastCode != SEP_DOT &&
                p->lastCode != 0) {
                DovTokenItem* period = NewPeriod(item->token->Beg());
                delete p->pushedBack;  // never set here: only markers push a period back
                p->pushedBack = item;
                item = period;
                code = SEP_DOT;
            }
        }

        // 8. The value.
        DovToken* token = item->token;
        p->currentPosn = token->Beg();
        DovExpr* value = nullptr;
        switch (code) {
            case TK_CHAR_STRING: case TK_PIC_CHAR_STRING: case TK_FUNC_NAME_NO_ARGS: case TK_FUNC_NAME_WITH_ARGS:
            case ST_IDENT:
                value = new DovCharString(token->image);
                break;
            case TK_REAL_NUM_LIT: case ST_APPROX_NUM_LIT:
                value = new DovRealNumConst(token->image);
                break;
            case TK_NONNUM_LIT: case ST_STR_LITER:
                value = new DovStrConst(token->image);
                break;
            case TK_INT_NUM_LIT: case ST_EXACT_NUM_LIT: {
                std::int64_t number = 0;
                VString error;
                if (DovIntLiteralValue(token->image, number, error)) p->ParserError(MSG_ERR, token->Beg(), error);
                value = new DovIntNumConst(token->image, number);
                break;
            }
            case TK_USER_DEFD_WORD: case TK_AREA_A_NAME: {
                // Computer names and the name of WITH ... LINKAGE are plain
                // words, however far ahead of the grammar they are read.
                bool lookUp = p->nameClassification != 0 && p->computerName != 2;
                if (lookUp && p->lastCode == RW_WITH && !p->pushedBack && PeekCode(lexer) == RW_LINKAGE)
                    lookUp = false;
                value = UserWordValue(p, token, code, lookUp);
                break;
            }
            case SEP_UNINLINED_COPY: case SEP_INLINED_COPY:
                value = lexer.TakeMarkerNode(code);
                if (!value) p->ParserError(MSG_ERR, token->Beg(), "yylex: bad uninlined copy expr");
                break;
            case SEP_COPY_EOF: case SEP_REPLACE:
                value = lexer.TakeMarkerNode(code);
                break;
            case RW_UNDELETE:
                // UNDELETE and UNLOCK share one statement rule (the tables have
                // no room for another statement keyword): the grammar reads
                // UNLOCK, the value says which word it was. The token keeps
                // its own code.
                value = DovIntToValue(RW_UNDELETE);
                code = RW_UNLOCK;
                break;
            default:
                break;
        }

        // 9. The position.
        if (IsMarker(code) && p->irrevInline) {
            // Irreversible inlining: the marker is not delivered; its
            // comments stand before the next token.
            if (value) {
                DovGatherComments(value, &P);
                delete value;
            }
            delete item;
            continue;
        }
        yyposn = new DovTokenList;
        if (code == 0) {
            // What follows the last program belongs to the end of the file.
            p->trailingTokens.AppendList(P);
            delete item;
        } else if (IsMarker(code) && value) {
            if (code == SEP_COPY_EOF) {
                P.AppendToken(item->token);
                value->Tokens().PrependList(P);
                code = SEP_INLINED_COPY;
            } else {
                value->LeadingTokens()->PrependList(P);
                if (code == SEP_REPLACE) code = SEP_INLINED_COPY;
            }
            delete item;
        } else if (IsMarker(code)) {
            // No node to carry them: the tokens stay in the position.
            yyposn->AppendList(P);
            if (code == SEP_COPY_EOF) yyposn->AppendToken(item->token);
            if (code == SEP_COPY_EOF || code == SEP_REPLACE) code = SEP_INLINED_COPY;
            delete item;
        } else {
            yyposn->AppendList(P);
            yyposn->AppendToken(item->token);
            delete item;
        }
        if (IsMarker(code) && value && FoldsAtLexTime(p, lexer, value)) {
            // The marker's tokens stand before the next token delivered.
            DovGatherTokens(value, &P);
            P.AppendList(*yyposn);
            delete yyposn;
            yyposn = nullptr;
            delete value;
            continue;
        }
        // A COPY, INCLUDE or REPLACE marker inside a sentence of the
        // procedure division, where what follows it starts a statement or
        // ends the sentence or scope, is a statement of its own: it reaches
        // the grammar under a code of its own (the grammar never sees
        // SEP_COPY_INC otherwise), so that it is no procedure element. A
        // marker followed by anything else lies inside a statement (a member
        // that goes on with a condition or an operand list) and stays as it
        // is, to be folded into the text.
        if ((code == SEP_INLINED_COPY || code == SEP_UNINLINED_COPY) && InSentence(p) && MarkerEndsStatement(p, lexer))
            code = SEP_COPY_INC;
        yylval = value;

        // 10. The last delivered code, and the modes that follow from it.
        if (code != SEP_SPACE && code != CM_COMMENT && code != SEP_INLINED_COPY && code != SEP_COPY_EOF &&
            code != SEP_REPLACE && code != SEP_COPY_INC)
            p->lastCode = code;
        if (code == RW_SOURCE_COMPUTER || code == RW_OBJECT_COMPUTER)
            p->computerName = 1;
        else if (p->computerName == 1 && code == SEP_DOT)
            p->computerName = 2;
        else if (code != SEP_INLINED_COPY && code != SEP_COPY_INC)
            p->computerName = 0;
        if (code == RW_SOURCE_COMPUTER) {
            p->sourceComputerOpen = 1;
        } else if (p->sourceComputerOpen && EndsSourceComputer(code)) {
            p->nameClassification = 1;
            p->sourceComputerOpen = 0;
        }

        // 11. Trace.
        if (lexer.traceFlags & 0x01) {
            std::cout << " yylex: " << TokenExpr(code, &yylval) << '\n';
            if (p->tokenTrace) {
                std::cout << " yyposn=";
                PrintTokens(std::cout, *yyposn);
                std::cout << '\n';
            }
        }
        return code;
    }
}

bool DovMarkerFoldable(int code) {
    return code == SEP_INLINED_COPY || code == SEP_UNINLINED_COPY || code == SEP_COPY_INC;
}

void DovFoldMarker(YYSTYPE value, YYPOSN posn, YYSTYPE*, YYPOSN* nextPosn) {
    DovTokenList tokens;
    if (posn) {
        tokens.AppendList(*posn);
        delete posn;
    }
    if (DovExpr* node = DovValueNode(value)) {
        DovGatherTokens(node, &tokens);
        if (DovParserImpl* p = WorkingParser) {
            // The end of a member whose begin is folded away goes with it.
            std::vector<int>& levels = p->foldedCopyLevels;
            if (IsCopyBegin(node))
                levels.push_back(CopyLevel(node));
            else if (IsCopyEnd(node) && !levels.empty() && levels.back() == CopyLevel(node))
                levels.pop_back();
            p->ForgetNodesWithin(node);
        }
        delete node;
    }
    if (!*nextPosn) *nextPosn = new DovTokenList;
    (*nextPosn)->PrependList(tokens);
}

VString TokenExpr(int code, const YYSTYPE* value) {
    if (code == RW_UNLOCK && value && DovValueToInt(*value) == RW_UNDELETE) code = RW_UNDELETE;
    DovToken token(code, VString());
    DovExpr* node = value ? DovValueNode(*value) : nullptr;
    if (node && node->IsTerminal()) token.image = node->Image();
    std::ostringstream out;
    out << token;
    if (node && !node->IsTerminal()) {
        out << "  TokenExpr:\n";
        node->Print(out);
    }
    return VString(out.str().c_str());
}

namespace {

// The argument count RdcPosn searches: the catalogue's fixed count, the
// node's own when the catalogue gives none; 0 for lists.
int SearchedArgs(const DovExpr* node) {
    const int fixed = DovOperArgCount(node->Oper());
    if (fixed < 0) return node->NumArgs();
    return fixed < node->NumArgs() ? fixed : node->NumArgs();
}

}  // namespace

void RdcPosn(YYPOSN* result, YYPOSN* positions, YYSTYPE* values, int count, int, int, YYPOSN*,
             YYSTYPE resultValue) {
    DovParserImpl* p = WorkingParser;
    const bool trace = p && Tracing(p);

    // 2. The error alternative's reduction keeps its terms' positions.
    if (p && p->errorReduction) {
        p->errorReduction = 0;
        if (trace) std::cout << "@@@RdcPosn: error -- no reduce\n";
        *result = new DovTokenList;
        return;
    }

    // 3. Each term's tokens, and those of the keyword terms before it, go to
    // the slot of $$ that holds the term's value. The first term's list
    // becomes the gathering list; the others' are moved into it.
    DovExpr* top = DovValueNode(resultValue);
    DovTokenList* L = nullptr;
    bool any = false;  // a term had tokens
    for (int i = 0; i < count; ++i) {
        if (positions[i]) {
            if (!L) {
                L = positions[i];
            } else {
                if (!positions[i]->IsEmpty()) L->AppendList(*positions[i]);
                delete positions[i];
            }
            positions[i] = nullptr;
        }
        if (!L || L->IsEmpty()) continue;
        any = true;
        DovExpr* term = values ? DovValueNode(values[i]) : nullptr;
        if (!top || !term) continue;
        if (term == top) {
            // $$ is this term itself (a value passed on): what came before it
            // goes in front of it, not to its end.
            top->LeadingTokens()->PrependList(*L);
            continue;
        }
        const int bound = SearchedArgs(top);
        bool placed = false;
        for (int k = 0; k < bound && !placed; ++k) {
            if (top->Args(k) != term) continue;
            if (trace) {
                std::cout << "@@@RdcPosn: " << DovOperName(top->Oper()) << "[" << k << "] takes tokens from "
                          << DovOperName(term->Oper()) << " which is term #" << i << ": ";
                PrintTokens(std::cout, *L);
                std::cout << '\n';
            }
            top->ArgSlots(k)->tokens.AppendList(*L);
            placed = true;
        }
        for (int i2 = 0; i2 < bound && !placed; ++i2) {
            DovExpr* child = top->Args(i2);
            if (!child || child->NumArgs() == 0) continue;
            for (int j = 0; j < child->NumArgs() && !placed; ++j) {
                if (child->Args(j) != term) continue;
                if (trace) {
                    std::cout << "@@@RdcPosnII: " << DovOperName(top->Oper()) << "[" << i2 << "][" << j
                              << "] takes tokens from " << DovOperName(term->Oper()) << " which is term #" << i
                              << ": ";
                    PrintTokens(std::cout, *L);
                    std::cout << '\n';
                }
                child->ArgSlots(j)->tokens.AppendList(*L);
                placed = true;
            }
        }
        if (!placed && trace)
            std::cout << "@@@RdcPosn: "
                      << DovFormat("Cannot find term-expr %s[%d] which is %s", DovOperName(top->Oper()), i,
                                   DovOperName(term->Oper()))
                      << '\n';
    }

    // 4. Nothing handed on: the result is the first term's (empty) list, or a
    // new one when the rule has no term with a list.
    if (!any) {
        if (trace) std::cout << "@@@RdcPosn: Nothing to reduce: term_no=" << count << '\n';
        *result = L ? L : new DovTokenList;
        return;
    }

    // 5. What is left goes to $$ itself, or up with the result position.
    if (top) {
        if (trace && !L->IsEmpty()) {
            std::cout << "@@@RdcPosn: " << DovOperName(top->Oper()) << " TAIL takes remaining tokens: ";
            PrintTokens(std::cout, *L);
            std::cout << '\n';
        }
        top->Tokens().AppendList(*L);
    } else if (trace && !L->IsEmpty()) {
        std::cout << "@@@RdcPosn: YYPOSN takes the remaining tokens: ";
        PrintTokens(std::cout, *L);
        std::cout << '\n';
    }
    *result = L;
}

DovExpr* CollectExecToken(DovTokenItem* item) {
    DovParserImpl* p = WorkingParser;
    if (!item) return p ? p->execList : nullptr;
    const VString text = item->token ? DovTokenText(*item->token) : VString();
    // Comment lines keep their code: SplitExecLines gives them to the line
    // they stand on.
    auto recode = [](DovToken* t) {
        if (t->code == CM_COMMENT) return;
        if (t->code == SEP_SPACE) {
            t->code = PRESERVED_SPACE;
        } else {
            t->image = DovTokenText(*t);
            t->code = PRESERVED_STRING;
        }
    };
    for (DovToken* t : item->list) recode(t);
    if (item->token) recode(item->token);
    auto* node = new DovTokenString(text);
    node->Tokens().AppendItem(item);
    if (!p) {
        delete node;
        return nullptr;
    }
    p->execList = DovListExpr(EX_EXEC_TOKEN_LIST, p->execList, node);
    return p->execList;
}

DovExpr* SplitExecLines(DovOper code) {
    DovParserImpl* p = WorkingParser;
    DovExpr* open = p ? p->execList : nullptr;
    if (p) p->execList = nullptr;

    // 1. The subsystem name: the first element that is no blank or line end.
    // The tokens of the blanks before it (comment lines among them) go with it.
    DovExpr* subsystem = nullptr;
    DovTokenList before;
    while (open && open->NumArgs() > 0) {
        DovExpr* element = open->DelArg(0, 1, 0);
        if (!element) continue;
        const VString& image = element->Image();
        if (image == " " || image == "\n") {
            before.AppendList(element->Tokens());
            delete element;
            continue;
        }
        subsystem = element;
        break;
    }

    // 2. The rest, line by line.
    DovExpr* lines = new DovExprOper(EX_EXEC_LINE_LIST);
    DovExpr* line = nullptr;
    bool firstLineExempt = false;
    int lineNo = 0;
    DovTokenList lineEnd;  // the tokens of the line end just met
    auto endLine = [&] {
        if (lineNo == 0 && line) firstLineExempt = true;
        lines->AddArg(line);
        lines->ArgSlots(lines->NumArgs() - 1)->tokens.AppendList(lineEnd);
        line = nullptr;
        ++lineNo;
    };
    const int n = open ? open->NumArgs() : 0;
    for (int i = 0; i < n; ++i) {
        DovExpr* element = open->DelArg(i, 0, 1);
        if (!element) continue;
        if (element->Image() == "\n") {
            lineEnd.AppendList(element->Tokens());
            delete element;
            endLine();
            continue;
        }
        line = DovListExpr(EX_EXEC_TOKEN_LIST, line, element);
    }
    endLine();

    // 3. Comment lines inside the block belong to the line they stand on.
    for (int l = firstLineExempt ? 1 : 0; l < lines->NumArgs(); ++l) {
        DovExpr* current = lines->Args(l);
        if (!current) continue;
        DovTokenList& slotTokens = lines->ArgSlots(l)->tokens;
        for (int e = 0; e < current->NumArgs(); ++e) {
            DovExpr* element = current->Args(e);
            if (!element) continue;
            DovTokenList kept;
            while (DovToken* t = element->Tokens().PopFront()) {
                if (t->code == CM_COMMENT)
                    slotTokens.AppendToken(t);
                else
                    kept.AppendToken(t);
            }
            element->Tokens().AppendList(kept);
        }
    }

    // 4. The statement.
    auto* node = new DovExprOper(code);
    if (subsystem)
        subsystem->Tokens().PrependList(before);
    else
        node->Tokens().AppendList(before);
    node->SetArg(0, subsystem);
    node->SetArg(1, lines);
    delete open;
    return node;
}

bool IsNoteKeywordToken(const DovToken* token) {
    return token && (token->code == RW_NOTE || token->code == TK_END_NOTE);
}

int CollectNoteText(DovTokenItem* item) {
    DovParserImpl* p = WorkingParser;
    if (!p) return 0;
    if (!item || !item->token) {
        if (p->noteComment) p->noteQueue.AppendToken(p->noteComment);
        return 0;
    }
    const VString text = DovTokenText(*item->token);
    if (text == "\n") {
        if (p->noteComment) p->noteQueue.AppendToken(p->noteComment);
        return 0;
    }
    if (!p->noteComment)
        p->noteComment = new DovToken(CM_PERSISTENT, "* ", DovTxtPosnRange{item->token->Beg(), item->token->End()});
    p->noteComment->image = p->noteComment->image + text;
    p->noteComment->range.end = item->token->End();
    return 0;
}
