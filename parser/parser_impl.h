// DovParserImpl: the working parser. Parse turns one COBOL source file into
// a program tree: it configures and feeds its embedded lexer, runs the
// grammar (installed through parser/hooks.h), finishes the source, marks the
// tree, computes the data layout and classifies the messages.
//
// Grammar actions and lexer callbacks hold no parser of their own: they
// reach the one parser inside Parse through WorkingParser.
//
// The members are defined in these files of parser/:
//   options.cpp        DovParser (parser/options.h)
//   parse_run.cpp      constructors, Parse and its helpers, WorkingParser
//   error_nodes.cpp    ParserError, syntax errors and error nodes
//   token_adapter.cpp  yylex, RdcPosn, TokenExpr, EXEC and NOTE collectors
//   programs.cpp       source root, program stack, procedure structure
//   symbols.cpp        FindNameInProg, SymTabDefine, SymTabQualResolve
//   data_entries.cpp   CheckLevelNumber, AddDataEntry, PlaceDataEntry
//   clauses.cpp        clause holders and the CICS option table
//   data_layout.cpp    lengths and offsets (parser/data_layout.h)
//   data_map.cpp       the data map listing
#pragma once

#include <vector>

#include "lexer/lexer_object.h"
#include "parser/grammar_types.h"
#include "parser/options.h"
#include "tree/expr.h"
#include "tree/named.h"
#include "tree/token.h"

// Program stack: the source root and up to 19 nested programs.
constexpr int kDovMaxProgramLevels = 20;
// Level stack of the data entries of one record.
constexpr int kDovMaxDataLevels = 50;

// One level of a record being built: its effective level (66 counts as 2,
// 77 as 1) and its holder node.
struct DovDataLevel {
    int level = 0;
    DovExpr* holder = nullptr;
};

class DovParserImpl : public DovParser {
public:
    // Default options, no root, the lexer built with the parser's callbacks.
    DovParserImpl();
    // The same with the options of `options` (not its option table).
    explicit DovParserImpl(const DovParser& options);
    DovParserImpl(const DovParserImpl& other) : DovParserImpl(static_cast<const DovParser&>(other)) {}
    // Copies the options and resets the parse state; the lexer stays.
    DovParserImpl& operator=(const DovParser& options);
    DovParserImpl& operator=(const DovParserImpl& other) { return *this = static_cast<const DovParser&>(other); }
    ~DovParserImpl() override;

    // Parses `fileName`. Status: 0 parsed, no warning or error in the list
    // (also lex-only mode); 1 the list holds a warning and no error; 2 it
    // holds an error; 3 the grammar failed, no tree; 20 the grammar cannot
    // parse this mix of dialects; 23 another DovParserImpl is working;
    // otherwise the lexer's result for opening the input.
    int Parse(const char* fileName, DovExpr*& root, DovTokenList* messages) override;

    // --- Messages and error nodes (error_nodes.cpp) ----------------------
    // The message sink of the parse and of the lexer: warnings and errors
    // become message tokens of the message list, the other levels go to the
    // message callback. An empty position stands for the current token's.
    void ParserError(int level, const DovTxtPosn& position, const VString& text);
    // Where an empty message position points: the begin of the token the
    // token adapter delivered last.
    const DovTxtPosn& CurrentPosn() const { return currentPosn; }
    // Forgets every node of the parse state (pending lists, records, the
    // current section ...) that lies within `node`, which is about to be
    // deleted by its owner.
    void ForgetNodesWithin(const DovExpr* node);

    // --- Programs and procedure structure (programs.cpp) -----------------
    DovExpr* StartProgram();
    void EndProgram(DovExpr* header);
    int FinishSource(int abort);
    void FinishProgram(int n);
    int ProcessNewProc(DovExpr* node);
    // Forgets the current section and paragraph.
    void ResetProcState();

    // --- Symbols (symbols.cpp) -------------------------------------------
    // The element of a name as seen from the innermost open program; a new
    // undefined element there when the name is not found. Never null.
    DovSymTabElt* FindNameInProg(const VString& name);
    DovNamedObjDef* SymTabDefine(DovSymTabElt* element, int category, int flag);
    // `program`: the program the use lies in, when the caller knows it
    // (else it is found by climbing from the use).
    void SymTabQualResolve(DovNamedObjUse* use, DovExpr* program = nullptr);

    // --- Data description entries (data_entries.cpp) ---------------------
    int CheckLevelNumber(DovExpr* entry);
    int AddDataEntry(int level, DovExpr* entry, int holderCode);
    int PlaceDataEntry(int level, DovExpr* entry, int holderCode);

    // --- The embedded lexer -----------------------------------------------
    DovLexer lexer;

    // --- Parse state, reset at the start of every parse ------------------
    DovExpr* root = nullptr;            // COBOL_FILE, the parser's until Parse hands it over
    DovTokenList* messages = nullptr;   // the caller's list, not owned
    DovTxtPosn currentPosn;             // begin of the token delivered last

    // Programs and procedures.
    DovExpr* programStack[kDovMaxProgramLevels] = {};  // [0] the root, then the open programs
    int programCount = 0;                               // entries in use
    DovExpr* currentSymTab = nullptr;   // SYMBOL_TABLE_ELT_LIST of the innermost open program
    DovExpr* procHolder = nullptr;      // DIVISION_PROCEDURE or DECLARATIVE_SECTIONS
    int procSectionSlot = 0;            // its slot of the section list (7 or 0)
    DovExpr* currentSection = nullptr;
    DovExpr* currentParagraph = nullptr;
    int procDivision = 0;               // inside the procedure division, after its header
    int declaratives = 0;               // between DECLARATIVES and END DECLARATIVES
    int dataDivision = 0;               // set by the grammar after the DATA DIVISION header
    int debuggingOperand = 0;           // while USE FOR DEBUGGING is parsed
    int currencySign = '$';

    // Data entries.
    DovDataLevel levelStack[kDovMaxDataLevels] = {};
    int levelDepth = 0;
    DovExpr* dataList = nullptr;        // DECL_DD_LIST of the section being read
    DovExpr* parkedMarkers = nullptr;   // DECL_DD_LIST of markers waiting for the next entry

    // Syntax errors.
    DovExpr* errNode = nullptr;         // the pending STMT__SYNTAX_ERROR node
    int errorReduction = 0;             // the next RdcPosn does no position reduction

    // Token adapter.
    DovTokenItem* pushedBack = nullptr; // delivered next without further processing
    int lastCode = 0;                   // last delivered code that was no blank, comment or marker
    int oldCopySkip = 0;
    // Nesting levels of the COPY members whose begin marker was folded into
    // the text (innermost last): the end marker of such a member is folded
    // as well, so that no end stands in the tree without its begin.
    std::vector<int> foldedCopyLevels;
    int nameClassification = 1;         // user words are looked up in the symbol table
    DovExpr* execList = nullptr;        // the open EX_EXEC_TOKEN_LIST
    DovToken* noteComment = nullptr;    // the NOTE comment token being built
    DovTokenList noteQueue;             // finished NOTE comment tokens
    DovTokenList trailingTokens;        // tokens after the last program, for END_COBOL_FILE
    // Modes the adapter follows from the tokens it delivers: 1 after
    // SOURCE-COMPUTER or OBJECT-COMPUTER, 2 after its period (the computer
    // name comes next and is not looked up); and whether a SOURCE-COMPUTER
    // paragraph is open, whose name classification the next header restores.
    int computerName = 0;
    int sourceComputerOpen = 0;

private:
    // The per-parse reset of every field above but the lexer.
    void ResetParseState();
    // The topmost nodes of everything the parse state points at, except
    // those in `owned` (nothing is freed).
    std::vector<DovExpr*> LooseTops(DovExpr* const* owned, int ownedCount) const;
    // Frees what a parse left behind (a root never handed over, the pending
    // error node, unfinished records, queued tokens) except the trees whose
    // tops are in `owned`, then resets the parse state.
    void DropParseState(DovExpr* const* owned, int ownedCount);
    void FreeLooseState(const std::vector<DovExpr*>& tops);
    // Sends a progress text to the progress callback, when there is one.
    void Progress(const char* text) const;
};

// The instance inside Parse; null outside.
extern DovParserImpl* WorkingParser;

// The source root, its special registers and the preset constants, made
// before the grammar runs (programs.cpp).
void InitSourceTree(DovParserImpl* parser);
