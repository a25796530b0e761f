// DovLexer: the COBOL lexer object, its settings, the callbacks through which
// it reaches the parser, and the stack of open input files (the main source,
// COPY and -INC members, EXEC SQL INCLUDE members).
//
// The lexer is a stack of layers, each pulling from the one below and each
// with its own push-back: tokens over text words, over COPY/REPLACE, over raw
// words and separators, over characters, over lines, over the input files.
// This header holds the state of every layer; each layer's operations live in
// a source file of their own.
#pragma once

#include <fstream>
#include <vector>

#include "lbase/message.h"
#include "lbase/txtposn.h"
#include "lbase/vstring.h"
#include "lbase/vstring_list.h"
#include "tree/dials.h"
#include "tree/token.h"

class DovExpr;

// Source line formats (the lexer's `lineFormat`).
enum DovLineFormat : int {
    LINE_FORMAT_FIXED = 1,
    LINE_FORMAT_FREE = 2,
    LINE_FORMAT_FSC_FREE = 3,
    LINE_FORMAT_VAR = 4,
};

// Copybook-name case retries (the lexer's `copyNameCase`).
enum DovCopyNameCase : int {
    COPY_NAME_EXACT = 0,
    COPY_NAME_LOWER = 1,
    COPY_NAME_UPPER = 2,
};

// Kind of the main input level; member levels carry the operation code of the
// node that marks their end (STMT_INLINED_COPY_END, STMT_INLINED_INCLUDE_END).
constexpr int kDovMainInputKind = 1;

constexpr int kDovMaxInputLevels = 20;      // main file and nested members
constexpr int kDovLineBufferSize = 256;     // characters of a line kept in the wide formats
constexpr int kDovFixedLineLimit = 72;      // characters kept in the fixed format
constexpr int kDovMaxIfDepth = 10;          // nested $IF levels
constexpr int kDovIfInSkipped = 4;          // $IF state of a $IF met inside a skipped part
constexpr int kDovMaxCopyPath = 1535;       // longest copybook path tried
constexpr int kDovReplacePhrases = 6;       // REPLACING / REPLACE phrases in force
constexpr int kDovReplaceTextSlots = 32;    // item slots of one FROM or TO text
constexpr int kDovReplacedOutputSlots = 64; // replaced-output buffer

// The functions through which the lexer reaches its owner (the parser).
struct DovLexerCallbacks {
    // Every diagnostic: severity (MSG_INFO..MSG_TERMINAL), position, text.
    using Message = DovMessageCallback;
    // Each token inside EXEC ... END-EXEC of a subsystem the lexer does not
    // classify; the callback takes the item over.
    using ExecToken = DovExpr* (*)(DovTokenItem* item);
    // Each token of a NOTE paragraph, and null at its end; the lexer deletes
    // the item afterwards.
    using NoteText = int (*)(DovTokenItem* item);
    // A preprocessor-constant name in a $IF operand: the symbol-table element
    // of the name, or null.
    using NameLookup = DovExpr* (*)(const VString& name);
    // The source root into which $SET CONSTANT declares 78-level constants.
    using CurrentRoot = DovExpr* (*)();
    // Line progress: the position of the current input level and a text.
    using Progress = void (*)(const DovTxtPosn& position, const VString& text);
};

// One open input level.
class DovInputFile {
public:
    DovInputFile() = default;
    DovInputFile(const DovInputFile&) = delete;
    DovInputFile& operator=(const DovInputFile&) = delete;
    // Closes the stream and drops a pushed-back item.
    ~DovInputFile();

    VString path;               // as opened
    std::ifstream stream;
    int kind = kDovMainInputKind;
    DovTxtPosn posn;            // line of the current line; file index of `path`
    char line[kDovLineBufferSize + 1] = {};
    int lineLen = 0;
    int readIndex = 0;          // the character layer's place in `line`
    DovTokenItem* pushBack = nullptr;  // the character layer's one-item slot
    int eofPending = 0;         // the last line had no newline; SEP_EOF comes next
    int ended = 0;              // SEP_EOF has been returned for this level
};

class DovLexer {
public:
    DovLexer(DovLexerCallbacks::Message message, DovLexerCallbacks::ExecToken execToken,
             DovLexerCallbacks::NoteText noteText, DovLexerCallbacks::NameLookup nameLookup,
             DovLexerCallbacks::CurrentRoot currentRoot);
    // Refused: builds an empty lexer and reports a terminal message.
    DovLexer(const DovLexer&);
    DovLexer& operator=(const DovLexer&) = delete;
    ~DovLexer();

    // Prepares for the next source: applies the excluded keywords, clears the
    // state of every layer and closes any level still open.
    void Reset();

    // Opens the main source as level 1. 0, or 11 when it cannot be opened or
    // a level is still open.
    int SetInput(const char* fileName);
    // Closes every open level and clears the error flag.
    void CloseInput();
    // Opens `name` as a new level of `kind`: the main file as given, a member
    // through the copybook directories and suffixes. `path` receives the path
    // opened. False when nothing was opened (reported, except when members
    // are not to be inlined).
    bool PushInput(const VString& name, int kind, VString& path);
    // Closes the current level; returns its kind and its path in `name`. The
    // main level is closed only with `popMain` set; otherwise, and when no
    // level is open, nothing changes and the result is 1.
    int PopInput(bool popMain, VString& name);

    // The line reader: reads the next line of the current level into its
    // buffer and returns 0 (an ordinary line), SEP_EOF, CM_BLANK_LINE,
    // CM_COMMENT or CM_LIBR_INC.
    int GetLine();

    // Directive operands, read from the current line from `index` on.
    // The next word (upper-cased outside quotes); 0, or 2 when there is none.
    int GetDirectiveWord(VString& word, int& index);
    // A $IF operand: a number, a literal or a constant name. `defined` is 0
    // for an unknown name, whose text is then empty. 0, or 2 on a bad word.
    int GetDirectiveOperand(VString& text, VString& name, int& defined, int& isNumber, long long& number,
                            int& index);
    // Declares a 78-level constant from NAME"text", NAME'text' or NAME(number)
    // into `root`. 0, or 2 after a message.
    int SetPreprocessorConstant(const VString& text, DovExpr* root);

    // Position of the current level (null when none is open).
    DovTxtPosn CurrentPosn() const { return current ? current->posn : DovNullPosn; }
    // Sends a diagnostic to the message callback.
    void Report(int severity, const DovTxtPosn& posn, const VString& text);

    // --- Settings, written by the parser before Reset -------------------
    DovDials dials;
    int lineFormat = LINE_FORMAT_FIXED;
    int progidComments = 0;       // text after the PROGRAM-ID name is a comment
    int sepSpaceRequired = 1;     // 0: a comma breaks a word unless it is the decimal point
    int sqlSwitch = 0;            // classify EXEC SQL
    int cicsSwitch = 0;           // classify EXEC CICS
    VStringArray excludedKeywords{100};
    int copyInline = 1;           // 0: COPY members are not opened
    int oldCopy = 0;
    int copyNameCase = COPY_NAME_LOWER;
    VStringArray copyDirs{12};    // seeded with "."
    VStringArray copySuffixes{10};// seeded with ".cpy"; Reset makes the bare name the last try
    // Per-layer trace bits: 0x01 tokens, 0x02 preprocessor constants and $IF
    // operands, 0x04 REPLACING phrases, 0x08 NOTE and EXEC tokens, 0x10 word
    // layers, 0x20 the character layer.
    int traceFlags = 0;
    DovLexerCallbacks::Progress progress = nullptr;
    int progressInterval = 100;

    // --- Callbacks -------------------------------------------------------
    DovLexerCallbacks::Message messageCallback = nullptr;
    DovLexerCallbacks::ExecToken execTokenCallback = nullptr;
    DovLexerCallbacks::NoteText noteTextCallback = nullptr;
    DovLexerCallbacks::NameLookup nameLookupCallback = nullptr;
    DovLexerCallbacks::CurrentRoot currentRootCallback = nullptr;

    // --- Run state, cleared by Reset --------------------------------------
    // Switched by the grammar between tokens.
    int reservedCheck = 1;        // reserved words are recognised
    int extraKeywords = 0;        // words flagged as extra keywords count as reserved
    int intrinsicNames = 0;       // the next word names an intrinsic function
    int debuggingLines = 0;       // 1: 'D' lines are compiled (WITH DEBUGGING MODE)
    int decimalPoint = '.';       // ',' after DECIMAL-POINT IS COMMA

    // Statistics, read by the parser after the parse.
    int tokensReturned = 0;
    int linesRead = 0;
    // Set by a layer that gives up; makes the parse fail.
    int errorFlag = 0;

    // Line reader.
    int optionsLinesAllowed = 1;  // CBL/PROCESS lines still accepted
    int commentEntry = 0;         // inside an identification comment paragraph
    int ifDepth = 0;              // $IF stack: 3 true part, 2 false part,
    int ifStates[kDovMaxIfDepth] = {};  // 1 ELSE of a false $IF, 0 ELSE of a true $IF

    // Character layer.
    DovTokenList pendingComments; // comments and blank lines waiting for the next item
    int lineSeen = 0;             // an ordinary line has been read
    int lastIndicatorReported = 0;
    DovTokenItem* sepPushBack = nullptr;  // the separator layer's one-item slot

    // Separators, literals and raw words.
    int openLiteralDelim = 0;     // ' or " of a literal left open at the end of a line
    int keepComma = 0;            // SEP_COMMA / SEP_SEMI count as words (REPLACING , BY ...)
    int keepSemi = 0;
    std::vector<DovTokenItem*> collapsedStack;  // pushed-back space-collapsed words

    // COPY and REPLACE.
    struct ReplacePhrase {
        DovTokenItem* from[kDovReplaceTextSlots] = {};
        DovTokenItem* to[kDovReplaceTextSlots] = {};
        int live = 1;
    };
    ReplacePhrase phrases[kDovReplacePhrases];
    int candidateCount = 0;
    DovTokenItem* candidates[kDovReplaceTextSlots] = {};
    DovTokenItem* replacedOutput[kDovReplacedOutputSlots + 1] = {};
    int replacedCursor = 0;
    DovTokenItem* copylessPushBack = nullptr;
    int copyRecognition = 1;      // the word COPY starts a COPY statement
    int phrasesInForce = 0;
    DovTokenItem** keptSeparator = nullptr;
    // Statement nodes handed to the parser's token adapter.
    DovExpr* pendingCopy = nullptr;
    DovExpr* pendingInclude = nullptr;
    DovExpr* pendingInc = nullptr;
    DovExpr* copyEndNode = nullptr;
    DovExpr* pendingReplace = nullptr;

    // Text words and tokens.
    DovTokenItem* tokenPushBack = nullptr;
    int execState = 0;            // 0 outside EXEC, 1 after EXEC, 2 after the subsystem word
    int execSql = 0;
    int execCics = 0;
    DovTxtPosn execBeg, execEnd;
    int noteState = 0;
    DovTxtPosn noteBeg, noteEnd;
    int picSeen = 0;
    VString brokenWord;           // the word being split at operator characters
    int brokenIndex = 0;
    DovTxtPosn brokenBeg, brokenEnd;

    // --- Input files -------------------------------------------------------
    DovInputFile* inputs[kDovMaxInputLevels] = {};
    int inputLevel = 0;           // open levels; 0 when no file is open
    DovInputFile* current = nullptr;

private:
    void Init();
    void DropLayerState();
    bool Has(int dialect) const { return DovDialsLevel(dials, dialect) != 0; }
    bool OpenMember(DovInputFile* in, const VString& name, VString& path);
    bool TryOpen(DovInputFile* in, const VString& path);

    // Line reader helpers.
    int ReadPhysicalLine(DovInputFile* in);
    int ClassifyLine(DovInputFile* in);
    int DollarDirective(DovInputFile* in, const VString& word, int wordEnd);
    void DollarIf(int index);
    void MakeComment(DovInputFile* in);
    void DeclareConstant(DovExpr* root, const VString& name, const VString& image, bool isString,
                         long long value);
};

// The value of a preprocessor constant from what the name lookup found (the
// name's symbol-table element): true for a 78-level constant with an integer
// value (`isNumber` 1, `text` its digits) or a string value (`text` the
// string); false for anything else.
bool DovPreprocessorConstantValue(DovExpr* element, VString& text, int& isNumber, long long& number);
