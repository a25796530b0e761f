// Programs and procedure structure: the source root with its special
// registers, the stack of open (nested) programs, the ending of programs
// (CICS EIB block, name resolution, linking into the parent) and the
// placement of sections, paragraphs and sentences.
#include <iostream>

#include "parser/parser_impl.h"
#include "parser/programs.h"
#include "parser/symbols.h"
#include "tree/leaf.h"
#include "tree/qualname.h"
#include "tree/symtab.h"
#include "tree/walk.h"

// The normalisation of screen ACCEPT and DISPLAY items (ProcessAcceptItem,
// ProcessDisplayItem) belongs to the clause collection of parser/clauses.h.
// CALL POINT: while that file is not part of the library the walk below is
// left out; with it, every finished program's items are processed.
#if __has_include("parser/clauses.h")
#include "parser/clauses.h"
#define DOV_PROGRAMS_SCREEN_ITEMS 1
#else
#define DOV_PROGRAMS_SCREEN_ITEMS 0
#endif

namespace {

// Slots of the source root, of a program and of the nodes below them.
constexpr int kFileProgramsArg = 0;     // COBOL_FILE: COBOL_PROGRAM_LIST
constexpr int kFileDataArg = 2;         // COBOL_FILE: DECL_DD_LIST of the registers
constexpr int kProgIdentArg = 0;        // COBOL_PROGRAM: DIVISION_IDENTIFICATION
constexpr int kProgNestedArg = 4;       // COBOL_PROGRAM: COBOL_PROGRAM_LIST
constexpr int kProgEndArg = 5;          // COBOL_PROGRAM: END_COBOL_PROGRAM
constexpr int kIdentProgramIdArg = 1;   // DIVISION_IDENTIFICATION: PARA_PROGRAM_ID
constexpr int kProgramIdNameArg = 0;    // PARA_PROGRAM_ID: the program-name definition
constexpr int kEndProgramNameArg = 0;   // END_COBOL_PROGRAM: the program-name use
constexpr int kDataLinkageArg = 6;      // DIVISION_DATA: SECTION_LINKAGE
constexpr int kLinkageEntriesArg = 0;   // SECTION_LINKAGE: DECL_DD_LIST
constexpr int kSectionParasArg = 2;     // SECTION_PROC: PARA_PROC_LIST
constexpr int kParaSentencesArg = 1;    // PARA_PROC: SENTENCE_LIST

bool Absent(const DovExpr* node) { return !node || node->Oper() == NULL_NODE; }

constexpr std::uint32_t Dial(int d) { return 1u << d; }

// The dialects of the DEBUG special registers.
constexpr std::uint32_t kDebugDialects = Dial(DIAL_ANSI74) | Dial(DIAL_ANSI85) | Dial(DIAL_OSVS) | Dial(DIAL_VSII) |
                                         Dial(DIAL_SAA) | Dial(DIAL_XOPEN) | Dial(DIAL_MF) | Dial(DIAL_MS) |
                                         Dial(DIAL_RM) | Dial(DIAL_RM85) | Dial(DIAL_DOSVS) | Dial(DIAL_UNIVAC) |
                                         Dial(DIAL_FSC) | Dial(DIAL_NET) | Dial(DIAL_FSCNET);
constexpr std::uint32_t kOsvsDosvs = Dial(DIAL_OSVS) | Dial(DIAL_DOSVS);
constexpr std::uint32_t kSortDialects = Dial(DIAL_OSVS) | Dial(DIAL_VSII) | Dial(DIAL_DOSVS) | Dial(DIAL_FSC);
constexpr std::uint32_t kVsiiFsc = Dial(DIAL_VSII) | Dial(DIAL_FSC);

// The name a program's END PROGRAM header names: the first name of its
// qualified name, or the text of a plain node.
VString HeaderProgramName(DovExpr* header) {
    DovExpr* name = DovArgOrNull(header, kEndProgramNameArg);
    if (name && name->Oper() == NAMED_OBJ_USE) name = DovArgOrNull(name, 0);
    if (name && (name->Oper() == OF_IN_LIST || name->Oper() == SQL_VAR_NAME_LIST))
        name = DovArgOrNull(name, name->Oper() == OF_IN_LIST ? 0 : name->NumArgs() - 1);
    return name && name->IsTerminal() ? name->Image() : VString();
}

// The name of a program's PROGRAM-ID paragraph; empty when it has none.
VString ProgramIdName(DovExpr* program) {
    DovExpr* name = DovArgOrNull(DovArgOrNull(DovArgOrNull(program, kProgIdentArg), kIdentProgramIdArg),
                                 kProgramIdNameArg);
    return name && name->IsTerminal() ? name->Image() : VString();
}

// Walk step of the screen ACCEPT and DISPLAY items of one program (the
// context); a nested program was done when it was finished and is not
// entered again. An item may be replaced in its parent, so the walk never
// descends into one.
int ScreenItemStep(DovExpr* node, void* context) {
    if (!node) return DOV_WALK_DESCEND;
    const DovOper op = node->Oper();
    if (op == COBOL_PROGRAM && node != context) return DOV_WALK_SKIP;
    if (op == SYMBOL_TABLE_ELT_LIST) return DOV_WALK_SKIP;
    if (op != ACCEPT_SCREEN_ITEM && op != DISPLAY_SCREEN_ITEM) return DOV_WALK_DESCEND;
#if DOV_PROGRAMS_SCREEN_ITEMS
    auto* program = static_cast<DovExpr*>(context);
    if (op == ACCEPT_SCREEN_ITEM)
        ProcessAcceptItem(node, program);
    else
        ProcessDisplayItem(node, program);
#endif
    return DOV_WALK_SKIP;
}

void NormaliseScreenItems(DovExpr* program) {
    if (DOV_PROGRAMS_SCREEN_ITEMS) WalkTheTree(program, program, ScreenItemStep);
}

}  // namespace

// ==========================================================================
// Tables
// ==========================================================================

const DovSpecialRegister DovSpecialRegisters[kDovSpecialRegisterCount + 1] = {
    {{0, 1, "DEBUG-ITEM", nullptr, DU_NONE, nullptr}, kDebugDialects},
    {{1, 5, "DEBUG-LINE", "X(6)", DU_NONE, nullptr}, kDebugDialects},
    {{1, 5, "DEBUG-NAME", "X(30)", DU_NONE, nullptr}, kDebugDialects},
    {{1, 5, "DEBUG-SUB-1", "S9(4)", DU_NONE, nullptr}, kDebugDialects},
    {{1, 5, "DEBUG-SUB-2", "S9(4)", DU_NONE, nullptr}, kDebugDialects},
    {{1, 5, "DEBUG-SUB-3", "S9(4)", DU_NONE, nullptr}, kDebugDialects},
    {{1, 5, "DEBUG-CONTENTS", "X(128)", DU_NONE, nullptr}, kDebugDialects},
    {{0, 1, "CURRENT-DATE", "X(8)", DU_NONE, nullptr}, kOsvsDosvs},
    {{0, 1, "TIME-OF-DAY", "9(6)", DU_DISPLAY, nullptr}, kOsvsDosvs},
    {{0, 1, "RETURN-CODE", "S9(4)", DU_COMP, nullptr},
     Dial(DIAL_OSVS) | Dial(DIAL_VSII) | Dial(DIAL_SAA) | Dial(DIAL_XOPEN) | Dial(DIAL_MF) | Dial(DIAL_RM85) |
         Dial(DIAL_DOSVS) | Dial(DIAL_FSC) | Dial(DIAL_FSCNET)},
    {{0, 1, "SHIFT-IN", "X(1)", DU_NONE, nullptr}, kVsiiFsc},
    {{0, 1, "SHIFT-OUT", "X(1)", DU_NONE, nullptr}, kVsiiFsc},
    {{0, 1, "TALLY", "9(5)", DU_COMP, nullptr}, kSortDialects},
    {{0, 1, "WHEN-COMPILED", "X(20)", DU_NONE, nullptr},
     Dial(DIAL_OSVS) | Dial(DIAL_VSII) | Dial(DIAL_SAA) | Dial(DIAL_MF) | Dial(DIAL_DOSVS) | Dial(DIAL_FSC) |
         Dial(DIAL_FSCNET)},
    {{0, 1, "LIN", "9(4)", DU_COMP, nullptr}, Dial(DIAL_MS)},
    {{0, 1, "COL", "9(4)", DU_COMP, nullptr}, Dial(DIAL_MS)},
    {{0, 1, "SORT-CONTROL", "X(8)", DU_NONE, nullptr}, kVsiiFsc},
    {{0, 1, "SORT-CORE-SIZE", "S9(8)", DU_COMP, nullptr}, kSortDialects},
    {{0, 1, "SORT-FILE-SIZE", "S9(8)", DU_COMP, nullptr}, kSortDialects},
    {{0, 1, "SORT-MESSAGE", "X(8)", DU_NONE, nullptr}, Dial(DIAL_OSVS) | Dial(DIAL_VSII) | Dial(DIAL_FSC)},
    {{0, 1, "SORT-MODE-SIZE", "S9(5)", DU_COMP, nullptr}, kSortDialects},
    {{0, 1, "SORT-RETURN", "S9(4)", DU_COMP, nullptr}, kSortDialects},
    {{0, 0, nullptr, nullptr, DU_NONE, nullptr}, 0},
};

DovDials DovSpecialRegisterDials(std::uint32_t dialects) {
    DovDials set = DovNoDials();
    for (int d = 1; d <= kDovDialectCount; ++d)
        if (dialects & Dial(d)) DovDialsAdd(set, d);
    return set;
}

const DovDataItemRow DovCicsEibRows[kDovCicsEibRowCount + 1] = {
    {0, 1, "CICS-BLOCKS", nullptr, DU_NONE, nullptr},
    {1, 2, "DFHEIBLK", nullptr, DU_NONE, nullptr},
    {2, 3, "EIBTIME", "S9(7)", DU_COMP_3, nullptr},
    {2, 3, "EIBDATE", "S9(7)", DU_COMP_3, nullptr},
    {2, 3, "EIBTRNID", "X(4)", DU_NONE, nullptr},
    {2, 3, "EIBTASKN", "S9(7)", DU_COMP_3, nullptr},
    {2, 3, "EIBTRMID", "X(4)", DU_NONE, nullptr},
    {2, 3, "EIBCPOSN", "S9(4)", DU_COMP, nullptr},
    {2, 3, "EIBCALEN", "S9(4)", DU_COMP, nullptr},
    {2, 3, "EIBAID", "X", DU_NONE, nullptr},
    {2, 3, "EIBFN", "XX", DU_NONE, nullptr},
    {2, 3, "EIBRCODE", "X(6)", DU_NONE, nullptr},
    {2, 3, "EIBDS", "X(8)", DU_NONE, nullptr},
    {2, 3, "EIBREQID", "X(8)", DU_NONE, nullptr},
    {2, 3, "EIBRSRCE", "X(8)", DU_NONE, nullptr},
    {2, 3, "EIBSYNC", "X", DU_NONE, nullptr},
    {2, 3, "EIBFREE", "X", DU_NONE, nullptr},
    {2, 3, "EIBRECV", "X", DU_NONE, nullptr},
    {2, 3, "EIBATT", "X", DU_NONE, nullptr},
    {2, 3, "EIBEOC", "X", DU_NONE, nullptr},
    {2, 3, "EIBFMH", "X", DU_NONE, nullptr},
    {2, 3, "EIBCOMPL", "X", DU_NONE, nullptr},
    {2, 3, "EIBSIG", "X", DU_NONE, nullptr},
    {2, 3, "EIBCONF", "X", DU_NONE, nullptr},
    {2, 3, "EIBERR", "X", DU_NONE, nullptr},
    {2, 3, "EIBERRCD", "X(4)", DU_NONE, nullptr},
    {2, 3, "EIBSYNRB", "X", DU_NONE, nullptr},
    {2, 3, "EIBNODAT", "X", DU_NONE, nullptr},
    {2, 3, "EIBRESP", "S9(8)", DU_COMP, nullptr},
    {2, 3, "EIBRESP2", "S9(8)", DU_COMP, nullptr},
    {2, 3, "EIBRLDBK", "X", DU_NONE, nullptr},
    {0, 0, nullptr, nullptr, DU_NONE, nullptr},
};

bool DovProgramRefersToEib(DovExpr* program) {
    DovExpr* table = SymTabOfHolder(program);
    if (!table) return false;
    for (const DovDataItemRow* row = DovCicsEibRows; row->name; ++row)
        if (SymTabFind(table, row->name)) return true;
    return false;
}

int DovAddCicsEibDecls(DovExpr* node, DovExpr* root, void*) {
    if (!node) return DOV_WALK_DESCEND;
    if (node->Oper() == COBOL_PROGRAM && node != root) return DOV_WALK_SKIP;
    if (node->Oper() == SYMBOL_TABLE_ELT_LIST) return DOV_WALK_SKIP;
    if (node->Oper() != DIVISION_DATA) return DOV_WALK_DESCEND;
    if (node->NumArgs() <= kDataLinkageArg) return DOV_WALK_SKIP;
    DovExpr* linkage = DovArgOrNull(node, kDataLinkageArg);
    if (Absent(linkage)) {
        linkage = new DovExprOper(SECTION_LINKAGE);
        node->SetArg(kDataLinkageArg, linkage, -1, 0);
    }
    if (linkage->NumArgs() <= kLinkageEntriesArg) return DOV_WALK_SKIP;
    DovExpr* list = DovArgOrNull(linkage, kLinkageEntriesArg);
    if (Absent(list)) {
        list = new DovExprOper(DECL_DD_LIST);
        linkage->SetArg(kLinkageEntriesArg, list, -1, 0);
    } else if (list->Oper() != DECL_DD_LIST) {
        // A single entry in the slot becomes the first of a list.
        linkage->SetArgToList(kLinkageEntriesArg, DECL_DD_LIST, nullptr);
        list = DovArgOrNull(linkage, kLinkageEntriesArg);
    }
    DovExpr* program = DovEnclosingOper(node, COBOL_PROGRAM);
    VString message;
    if (DovDeclDataItemHierarchy(list, DovCicsEibRows, 1, program ? program : root, message) != 0 && WorkingParser)
        WorkingParser->ParserError(MSG_SEVERE, DovNullPosn, message);
    return DOV_WALK_SKIP;
}

// ==========================================================================
// The source root
// ==========================================================================

void InitSourceTree(DovParserImpl* parser) {
    if (!parser) return;
    // 1. The root, slot 0 of the program stack.
    DovExpr* root = new DovExprOper(COBOL_FILE);
    parser->root = root;
    parser->programStack[0] = root;
    for (int i = 1; i < kDovMaxProgramLevels; ++i) parser->programStack[i] = nullptr;
    parser->programCount = 1;

    // 2. The list of the special registers and the source-level table.
    DovExpr* registers = new DovExprOper(DECL_DD_LIST);
    root->SetArg(kFileDataArg, registers, -1, 0);
    DovExpr* table = new DovExprOper(SYMBOL_TABLE_ELT_LIST);
    root->SetArg(kDovFileSymbolTableArg, table, -1, 0);
    parser->currentSymTab = table;
    // Sorted when the parse hands the tree out (DovParserImpl::Parse).
    SymTabDeferOrder(table);

    // 3. The special registers of the dialects in force, in table order.
    DovDataItemRow rows[kDovSpecialRegisterCount + 1];
    int count = 0;
    for (const DovSpecialRegister* r = DovSpecialRegisters; r->row.name; ++r)
        if ((DovSpecialRegisterDials(r->dialects).word & parser->dials.word) != 0) rows[count++] = r->row;
    rows[count] = DovSpecialRegisters[kDovSpecialRegisterCount].row;
    VString message;
    if (count > 0 && DovDeclDataItemHierarchy(registers, rows, 0, root, message) != 0)
        parser->ParserError(MSG_SEVERE, DovNullPosn, message);

    // 4. The preset 78-level constants.
    for (int i = 0; i < parser->constantSettings.count; ++i)
        parser->lexer.SetPreprocessorConstant(parser->constantSettings.items[i], root);
}

// ==========================================================================
// Programs
// ==========================================================================

DovExpr* DovParserImpl::StartProgram() {
    if (structureTrace) std::cout << "\n*=== DovParserImpl::StartProgram() ===" << std::endl;
    currencySign = '$';
    // A program always lies below a source root.
    if (programCount < 1 || !programStack[0]) {
        if (root && root->Oper() == COBOL_FILE) {
            programStack[0] = root;
            programCount = 1;
            currentSymTab = SymTabOfHolder(root);
        } else {
            InitSourceTree(this);
        }
    }
    if (programCount >= kDovMaxProgramLevels) {
        // One odd file must not end a run: the innermost program is finished
        // and the new one takes its place on the stack.
        ParserError(MSG_ERR, DovNullPosn, "Too many levels of Nested Programs");
        FinishProgram(1);
    }
    DovExpr* program = new DovExprOper(COBOL_PROGRAM);
    DovExpr* table = new DovExprOper(SYMBOL_TABLE_ELT_LIST);
    program->SetArg(kDovProgSymbolTableArg, table, -1, 0);
    programStack[programCount++] = program;
    currentSymTab = table;
    // Sorted by FinishProgram, before anything reads the order.
    SymTabDeferOrder(table);
    return program;
}

void DovParserImpl::EndProgram(DovExpr* header) {
    if (structureTrace) std::cout << "\n*=== DovParserImpl::EndProgram() ===" << std::endl;
    if (!header || header->Oper() != END_COBOL_PROGRAM) {
        if (messageCallback)
            messageCallback(MSG_TERMINAL, currentPosn, "DovParserImpl::EndProgram: expecting END PROGRAM header");
        return;
    }
    if (programCount <= 1) {
        ParserError(MSG_ERR, DovNullPosn, "There are no more programs to END. Ignored.");
        return;
    }
    const VString name = HeaderProgramName(header);
    if (name != ProgramIdName(programStack[programCount - 1])) {
        ParserError(MSG_ERR, DovNullPosn,
                    DovFormat("END PROGRAM %s does not end the current Program. Ignored.", name.CStr()));
        return;
    }
    programStack[programCount - 1]->SetArg(kProgEndArg, header, -1, 0);
    FinishProgram(1);
}

int DovParserImpl::FinishSource(int abort) {
    if (structureTrace) std::cout << "\n*=== DovParserImpl::FinishSource() === " << abort << std::endl;
    const int open = programCount - 1;
    if (open < 1) return 0;
    if (abort) {
        for (int i = programCount - 1; i >= 1; --i) {
            DovExpr* program = programStack[i];
            programStack[i] = nullptr;
            if (!program) continue;
            // Nothing of the parse state may keep pointing into it.
            ForgetNodesWithin(program);
            delete program;
        }
        programCount = 1;
        currentSymTab = SymTabOfHolder(programStack[0]);
        return 0;
    }
    if (open > 1) ParserError(MSG_ERR, DovNullPosn, "There is more than one un-ENDed Program. Ending them all.");
    FinishProgram(open);
    return 0;
}

void DovParserImpl::FinishProgram(int n) {
    if (structureTrace) std::cout << "\n*=== DovParserImpl::FinishProgram(): " << n << " ===\n" << std::flush;
    if (n > programCount - 1) {
        ParserError(MSG_ERR, DovNullPosn, "Do not have that many programs to end. Ignored.");
        return;
    }
    if (n <= 0) return;
    const int parentLevel = programCount - 1 - n;
    DovExpr* parent = programStack[parentLevel];
    const int listArg = parent && parent->Oper() == COBOL_FILE ? kFileProgramsArg : kProgNestedArg;

    // The tables of the programs finished come in name order before the
    // walks below see any of them.
    for (int level = parentLevel + 1; level < programCount; ++level)
        if (programStack[level]) SymTabSettleOrder(SymTabOfHolder(programStack[level]));

    for (int level = parentLevel + 1; level < programCount; ++level) {
        DovExpr* program = programStack[level];
        if (!program) continue;
        // a. CICS EIB block and name resolution.
        if (resolveNames) {
            Progress("Resolving Names");
            const bool eib = cicsEib == DOV_ANY_YES || (cicsEib == DOV_ANY_AUTO && DovProgramRefersToEib(program));
            if (eib) DovNamedWalk(program, nullptr, "DovAddCicsEibDecls", DovAddCicsEibDecls, nullptr, nullptr);
            DovResolveWalkContext context;
            context.parser = this;
            context.program = program;
            WalkTheTree(program, &context, DovSymTabResolveWalker);
            Progress("*");
        }
        // b. Screen ACCEPT and DISPLAY items.
        NormaliseScreenItems(program);
        // c. Nested programs and END PROGRAM header are never left empty.
        if (!DovArgOrNull(program, kProgNestedArg)) program->SetArg(kProgNestedArg, new DovNullNode, -1, 0);
        if (!DovArgOrNull(program, kProgEndArg)) program->SetArg(kProgEndArg, new DovNullNode, -1, 0);
        // d. Into the parent's program list.
        if (parent) parent->SetArgToList(listArg, COBOL_PROGRAM_LIST, program);
    }

    // 4. The parent's table is current again.
    for (int level = parentLevel + 1; level < programCount; ++level) programStack[level] = nullptr;
    programCount = parentLevel + 1;
    currentSymTab = SymTabOfHolder(parent);
}

// ==========================================================================
// Procedure structure
// ==========================================================================

int DovParserImpl::ProcessNewProc(DovExpr* node) {
    const int op = node ? node->Oper() : 0;
    const bool sentence = op == SENTENCE || op == SENTENCE_EMPTY || op == STMT__SYNTAX_ERROR ||
                          op == STMT_UNINLINED_COPY || op == STMT_INLINED_COPY_BEG || op == STMT_INLINED_COPY_END ||
                          op == STMT_REPLACE || op == STMT_REPLACE_OFF || op == STMT_INLINED_INCLUDE_BEG ||
                          op == STMT_INLINED_INCLUDE_END || op == STMT_UNINLINED_INCLUDE;
    if (op != SECTION_PROC && op != PARA_PROC && !sentence) {
        if (messageCallback) messageCallback(MSG_TERMINAL, currentPosn, "DovParserImpl::ProcessNewProc: bad proc type");
        return 1;
    }
    if (!procHolder || procSectionSlot < 0 || procSectionSlot >= procHolder->NumArgs()) {
        if (messageCallback)
            messageCallback(MSG_TERMINAL, currentPosn, "DovParserImpl::ProcessNewProc: no procedure holder");
        return 1;
    }
    if (op == SECTION_PROC) {
        procHolder->SetArgToList(procSectionSlot, SECTION_PROC_LIST, node);
        currentSection = node;
        currentParagraph = nullptr;
        return 0;
    }
    if (Absent(currentSection)) {
        DovExpr* section = new DovExprOper(SECTION_PROC);
        procHolder->SetArgToList(procSectionSlot, SECTION_PROC_LIST, section);
        currentSection = section;
        currentParagraph = nullptr;
    }
    if (op == PARA_PROC) {
        currentSection->SetArgToList(kSectionParasArg, PARA_PROC_LIST, node);
        currentParagraph = node;
        return 0;
    }
    if (Absent(currentParagraph)) {
        DovExpr* paragraph = new DovExprOper(PARA_PROC);
        currentSection->SetArgToList(kSectionParasArg, PARA_PROC_LIST, paragraph);
        currentParagraph = paragraph;
    }
    currentParagraph->SetArgToList(kParaSentencesArg, SENTENCE_LIST, node);
    return 0;
}

void DovParserImpl::ResetProcState() {
    currentSection = nullptr;
    currentParagraph = nullptr;
}
