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

#include <deque>
#include <fstream>
#include <memory>
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
constexpr int kDovReadChunk = 8192;         // bytes the line reader takes from a stream at once
constexpr int kDovMaxIfDepth = 10;          // nested $IF levels
constexpr int kDovIfInSkipped = 4;          // $IF state of a $IF met inside a skipped part
constexpr int kDovMaxCopyPath = 1535;       // longest copybook path tried
constexpr int kDovMaxNonnumLiteral = 160;   // bytes of a nonnumeric literal
constexpr int kDovMaxPrefixedLiteral = 320; // bytes of an X'..', N'..' (and so on) literal
constexpr int kDovMaxRawWord = 158;         // characters of a raw or joined text word
constexpr int kDovMaxNumericDigits = 18;    // digits of a numeric literal
constexpr int kDovMaxUserWord = 30;         // characters of a user-defined word
constexpr int kDovMaxUserWordMf = 31;       // the same where MF is among the dialects

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

// One phrase of a COPY ... REPLACING or a REPLACE statement: the FROM text
// and the TO text as the items read for them (each item's kept tokens are the
// blanks and comments in front of the token).
struct DovReplacePhrase {
    DovReplacePhrase() = default;
    DovReplacePhrase(const DovReplacePhrase&) = delete;
    DovReplacePhrase& operator=(const DovReplacePhrase&) = delete;
    DovReplacePhrase(DovReplacePhrase&& other) noexcept;
    DovReplacePhrase& operator=(DovReplacePhrase&& other) noexcept;
    ~DovReplacePhrase() { Clear(); }
    void Clear();

    std::vector<DovTokenItem*> from;
    std::vector<DovTokenItem*> to;
};

// A set of phrases with the state of matching them against a stream of words:
// the words read ahead while a FROM text is compared, and the replacement
// words still to be delivered. A member's REPLACING phrases live with its
// input level; the phrases of a REPLACE statement apply on top of them to
// everything read until the next REPLACE or REPLACE OFF.
struct DovReplaceStage {
    DovReplaceStage() = default;
    DovReplaceStage(const DovReplaceStage&) = delete;
    DovReplaceStage& operator=(const DovReplaceStage&) = delete;
    ~DovReplaceStage() { Clear(); }
    // Drops the phrases and every item held.
    void Clear();
    void ClearPhrases() { phrases.clear(); }
    bool Idle() const { return output.empty() && lookahead.empty() && carried.IsEmpty(); }

    std::vector<DovReplacePhrase> phrases;
    std::deque<DovTokenItem*> output;     // delivered first: replacement text, words put back
    std::deque<DovTokenItem*> lookahead;  // source words read while comparing, not yet delivered
    DovTokenList carried;                 // kept tokens of replaced words, for the next word out
};

// One open input level.
class DovInputFile {
public:
    DovInputFile() = default;
    DovInputFile(const DovInputFile&) = delete;
    DovInputFile& operator=(const DovInputFile&) = delete;
    // Closes the stream and drops the pushed-back items.
    ~DovInputFile();

    VString path;               // as opened
    std::ifstream stream;
    int kind = kDovMainInputKind;
    DovTxtPosn posn;            // line of the current line; file index of `path`
    char line[kDovLineBufferSize + 1] = {};
    int lineLen = 0;
    int readIndex = 0;          // the character layer's place in `line`
    // The one-item slots of the character and separator layers. What a layer
    // read ahead belongs to the level it came from: a member opened meanwhile
    // is read first.
    DovTokenItem* pushBack = nullptr;
    DovTokenItem* sepPushBack = nullptr;
    // The line reader takes the stream's bytes a chunk at a time into
    // `chunk` (made at the first read; the stream itself is unbuffered) and
    // finds the lines there.
    std::unique_ptr<char[]> chunk;
    int chunkPos = 0;
    int chunkLen = 0;
    bool streamDone = false;    // the stream has given its last byte
    bool markChecked = false;   // a byte-order mark at the start has been looked for
    bool afterCr = false;       // the last line ended with a carriage return: a line feed next belongs to it
    int eofPending = 0;         // the last line had no newline; SEP_EOF comes next
    int lastLineEnd = 0;        // column after the last line's last character (the end of the file)
    int ended = 0;              // SEP_EOF has been returned for this level
    DovReplaceStage* replacing = nullptr;  // the REPLACING phrases of the COPY that opened it
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
    // are not to be inlined): at `at`, the statement that names the member,
    // when it is given, else at the current level's position.
    bool PushInput(const VString& name, int kind, VString& path, const DovTxtPosn& at = DovNullPosn);
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

    // --- Character layer ----------------------------------------------------
    // The next character of the current level as an item (code 0..255), a
    // SEP_SPACE for a line break, SEP_EOF at the end of the level, or
    // SEP_COPY_INC after a -INC line. Every item carries the comments and
    // blank lines met before it.
    DovTokenItem* GetCharAB();
    // One item back into the current level's slot.
    void UnGetCharAB(DovTokenItem* item);
    // Peeks at the next item: when it ends a separator (a blank, a line break,
    // the end, a COPY marker or "=="), `token` gets `code`.
    void SetCodeIfSepFollows(DovToken* token, int code);
    // One item back into the separator layer's slot of the current level.
    void UnGetSepOrChar(DovTokenItem* item);

    // --- Separators, literals and raw words -------------------------------
    // A separator, a whole nonnumeric literal, a COPY marker or one
    // (upper-cased) character.
    DovTokenItem* GetSepOrChar();
    // A separator or literal as above, or a character-string word.
    DovTokenItem* GetRawTextWord();
    // The next raw word that is no blank; the blanks go into its kept list.
    DovTokenItem* GetSpaceCollapsedRawTextWord();
    void UnGetSpaceCollapsedRawTextWord(DovTokenItem* item);

    // --- COPY and REPLACE ------------------------------------------------------
    // The words above COPY, REPLACE, EXEC SQL INCLUDE and -INC: statements
    // become marker tokens with a pending node, members are read in line.
    DovTokenItem* GetCopylessTextWord();
    void UnGetCopylessTextWord(DovTokenItem* item);
    // The words with the REPLACING phrases of the current member and the
    // REPLACE phrases in force applied.
    DovTokenItem* GetRpldTextWord();
    // Puts a word back in front of what GetRpldTextWord delivers next; it
    // is not matched again.
    void UngetRpldTextWord(DovTokenItem* item);
    // The next word that is no blank, comma, semicolon or comment, read
    // without replacing; a COPY met there is reported and skipped.
    DovTokenItem* GetCopylessWordSkippingCopy();
    // Reads one operand of a REPLACING or REPLACE phrase starting at
    // `first`: ==pseudo-text==, or a word or literal with OF/IN qualifiers
    // and a parenthesised part. The items go to `text`, display copies to
    // the tree node `operand`. Returns the item after the operand.
    DovTokenItem* ReadReplacingOperand(DovTokenItem* first, std::vector<DovTokenItem*>& text, DovExpr*& operand);
    // Stores one operand item in `text` and a display copy in the
    // COPY_TOKEN_LIST `list` (made when null).
    void AddOperandToken(DovTokenItem* item, std::vector<DovTokenItem*>& text, DovExpr*& list);
    // Ends the phrases of the REPLACE statement in force.
    void ClearReplacingPhrases();
    // The member name of a COPY as a node that takes the item: a DovStrConst
    // for a literal, else a DovCharString.
    static DovExpr* MakeCopyNameNode(DovTokenItem* item);
    // The node that goes with a marker token just delivered, taken from the
    // lexer: the pending COPY, INCLUDE or -INC node for SEP_UNINLINED_COPY,
    // SEP_INLINED_COPY and SEP_COPY_INC, the COPY-end node for SEP_COPY_EOF,
    // the pending REPLACE node for SEP_REPLACE. Null when none is pending.
    // A node left pending is the lexer's: it deletes it when it makes the
    // next one of its kind, and on Reset.
    DovExpr* TakeMarkerNode(int code);

    // --- Text words and tokens ----------------------------------------------
    // Character strings that touch joined into one word (a picture string
    // with its parentheses after PIC).
    DovTokenItem* GetTextWord();
    // Words split at operator characters where separators need no space,
    // and inside EXEC SQL.
    DovTokenItem* GetBrokenTextWord();
    // Whether the word breaks before `c` (followed by c[1]).
    bool IsWordBreak(const char* c) const;
    bool IsFragmentBreak(const char* word, int at, int length) const;
    // The next token for the grammar; the caller owns the item.
    DovTokenItem* GetToken();
    // One token back; the next GetToken returns it.
    void UnGetToken(DovTokenItem* item);
    // Counts the token's line in codeLines when no earlier token of that
    // file counted it (markers and the end of input count no line).
    void CountCodeLine(const DovToken* token);

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
    int oldCopy = 0;              // read by the parser's token adapter
    int copyNameCase = COPY_NAME_LOWER;
    VStringArray copyDirs{12};    // starting with "."
    VStringArray copySuffixes{10};// starting with ".cpy"; Reset makes the bare name the last try
    // Per-layer trace bits: 0x01 tokens, 0x02 preprocessor constants and $IF
    // operands, 0x04 REPLACING phrases, 0x08 NOTE and EXEC tokens, 0x10 word
    // layers, 0x20 the character layer.
    int traceFlags = 0;
    // Plain words come straight from the line while the layers below the
    // COPY layer hold nothing (LineWord); false makes every word take the
    // layers' own way, for tests that compare the two.
    bool lineWords = true;
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

    // Modes that follow from the tokens themselves, so that a word gets the
    // same class however far ahead of the grammar it is read. Each is set by
    // the token that opens it (FollowModes) and read by the classification
    // of the words after it.
    struct TokenModes {
        int functionName = 0;     // the word after FUNCTION names an intrinsic function
        int programName = 0;      // PROGRAM-ID [.] seen: the next word is no reserved word
        int decimalPoint = 0;     // DECIMAL-POINT [IS] seen: COMMA makes ',' the decimal point
        int recordingMode = 0;    // RECORDING [MODE] [IS] seen: the mode word may be an extra keyword
        int procedure = 0;        // inside a PROCEDURE DIVISION
        int acceptDisplay = 0;    // inside an ACCEPT or DISPLAY statement: extra keywords count
        int cicsWords = 0;        // words of the current EXEC CICS command so far
        int cicsAssign = 0;       // inside EXEC CICS ASSIGN
        int cicsParens = 0;       // open parentheses inside EXEC CICS
    } modes;

    // Statistics, read by the parser after the parse.
    int tokensReturned = 0;
    int linesRead = 0;
    int lineWordsTaken = 0;       // words that LineWord took from the line
    // Lines of any source file (main file and copybooks) that hold at least
    // one token handed out by GetToken, and per file index the last line
    // counted.
    int codeLines = 0;
    std::vector<std::uint32_t> codeLineMarks;
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

    // Separators, literals and raw words.
    int openLiteralDelim = 0;     // ' or " of a literal left open at the end of a line
    std::vector<DovTokenItem*> collapsedStack;  // pushed-back space-collapsed words, last on top

    // COPY and REPLACE.
    DovReplaceStage replaceStage; // the phrases of the REPLACE statement in force
    int replaceSuspended = 0;     // COPY and REPLACE statements are read without replacing
    DovTokenItem* copylessPushBack = nullptr;
    DovTokenList copyCarried;     // the words of a dropped statement, for the next item
    int copyRecognition = 1;      // the word COPY starts a COPY statement
    // Statement nodes handed to the parser's token adapter (TakeMarkerNode).
    DovExpr* pendingCopy = nullptr;
    DovExpr* pendingInclude = nullptr;
    DovExpr* pendingInc = nullptr;
    DovExpr* copyEndNode = nullptr;
    DovExpr* pendingReplace = nullptr;

    // Text words and tokens.
    DovTokenItem* tokenPushBack = nullptr;
    // Items read ahead inside EXEC CICS to see the word after ADDRESS or
    // LENGTH, not yet classified: the token layer takes them before reading
    // on.
    std::deque<DovTokenItem*> cicsAhead;
    int execState = 0;            // 0 outside EXEC, 1 after EXEC, 2 after the subsystem word
    int execSql = 0;
    // Inside EXEC SQL: the line of an SQL "--" comment whose words are still
    // coming (null when none).
    DovTxtPosn sqlCommentAt;
    int execCics = 0;
    int noteState = 0;
    // Inside NOTE: the end of the first token of the paragraph's latest line;
    // a token on another line hands a newline to the NOTE-text callback.
    DovTxtPosn noteEnd;
    int picSeen = 0;
    VString brokenWord;           // the word being split at operator characters
    int brokenIndex = 0;
    bool brokenAtOperators = false;  // false: the word is split at its inner periods only
    DovTxtPosn brokenBeg, brokenEnd;

    // --- Input files -------------------------------------------------------
    DovInputFile* inputs[kDovMaxInputLevels] = {};
    int inputLevel = 0;           // open levels; 0 when no file is open
    DovInputFile* current = nullptr;

private:
    void Init();
    void DropLayerState();
    void DropPendingNodes();
    // Prints the label and the item when `bit` is set in the trace flags.
    void Trace(int bit, const char* label, const DovTokenItem* item) const {
        if (traceFlags & bit) PrintTrace(label, item);
    }
    static void PrintTrace(const char* label, const DovTokenItem* item);
    // The one-item push-back slots of the layers: TakeSlot empties the slot
    // and returns what it held (null when nothing); PutSlot fills it, an item
    // already waiting there being lost with the terminal `message`.
    static DovTokenItem* TakeSlot(DovTokenItem*& slot) {
        DovTokenItem* item = slot;
        slot = nullptr;
        return item;
    }
    void PutSlot(DovTokenItem*& slot, DovTokenItem* item, const char* message) {
        if (slot) LoseSlot(slot, item, message);
        slot = item;
    }
    // The terminal message for an item lost from a full slot, and its end.
    void LoseSlot(DovTokenItem*& slot, DovTokenItem* item, const char* message);

    // Character layer helpers.
    DovTokenItem* NewItem(int code, const DovTxtPosn& beg, const DovTxtPosn& end);
    DovTokenItem* TakePendingComments(DovTokenItem* item);
    DovTokenItem* StartLine(DovInputFile* in);
    void AppendCommentLine(DovInputFile* in, int code);
    DovTokenItem* IncLine(DovInputFile* in);

    // Separator layer helpers.
    DovTokenItem* ReadLiteral(DovTokenItem* lit, int prefix, DovTokenItem* delimItem);
    DovTokenItem* FloatingComment(DovTokenItem* first, const char* mark);
    // Joins the blanks and line breaks that follow into the SEP_SPACE `item`.
    void BlankRun(DovTokenItem* item);
    // The next replaced word (GetRpldTextWord) taken from the current line
    // in one go, exactly as the replacing, space-collapsing and raw-word
    // layers would deliver it: the blank run before it in its kept list, the
    // separator after it in the separator slot; asked only while the
    // replacing stages pass (StagesPass). Null unless the layers below are
    // idle (nothing pushed back but a blank run or a line break, no comment
    // waiting, no trace) and the line goes on with a character that starts
    // a plain word; only a blank run may then have been read, and it waits
    // in the separator slot.
    DovTokenItem* LineWord();
    // The raw-word layer's word from its item and first `size` characters
    // in `text` (room for kDovMaxRawWord + 1) on.
    DovTokenItem* RawWordRest(DovTokenItem* item, char* text, int size);
    // Whether a REPLACING or REPLACE phrase in force replaces the separator
    // `code` (SEP_COMMA, SEP_SEMI), which then counts as a word.
    bool PhraseReplaces(int code) const;

    // COPY and REPLACE helpers.
    DovTokenItem* StageGet(DovReplaceStage& stage, bool memberStage);
    // Whether the replacing stages hand every word on as it comes: no phrase
    // at work, nothing held, no trace of the word layers. GetRpldTextWord
    // then reads the space-collapsing layer itself.
    bool StagesPass() const {
        return !(traceFlags & 0x10) && StagePasses(&replaceStage) && (!current || StagePasses(current->replacing));
    }
    bool StagePasses(const DovReplaceStage* stage) const {
        return !stage || (stage->Idle() && (stage->phrases.empty() || replaceSuspended));
    }
    DovTokenItem* StageSource(bool memberStage);
    bool IsBarrier(const DovTokenItem* item) const;
    DovTokenItem* MemberEnd(DovTokenItem* item);
    DovTokenItem* CopyStatement(DovTokenItem* copyItem);
    DovTokenItem* ReplaceStatement(DovTokenItem* replaceItem);
    DovTokenItem* ExecSqlInclude(DovTokenItem* execItem);
    DovTokenItem* IncMember(DovTokenItem* item);
    DovTokenItem* ReadPhrases(DovTokenItem* item, DovExpr*& list, std::vector<DovReplacePhrase>& phrases,
                              bool isReplace, bool& failed);
    void DropStatement(DovExpr* node, DovTokenItem* offending, DovTokenList& before);
    void UnreadWord(DovTokenItem* item);
    VString MemberName(const DovTokenItem* item);
    DovTokenItem* NewMarker(int code, const DovTxtPosn& beg, const DovTxtPosn& end, DovTokenList& before);
    bool EnterMember(DovExpr* node, const VString& name, int endKind);
    void SetPending(DovExpr*& field, DovExpr* node);

    // Text-word layer helpers.
    bool NextFragment(int& offset, int& length);
    DovTxtPosnRange FragmentRange(int offset, int length) const;

    // Token layer helpers.
    void EndExec();
    // Moves the token modes on past a token that GetToken returns.
    void FollowModes(int code);
    void ClassifyWord(DovToken* token);
    bool SqlComment(DovTokenItem* item, DovTokenList& carried);
    bool ClassifySql(DovTokenItem* item, DovTokenList& carried);
    bool ClassifyCics(DovTokenItem* item, DovTokenList& carried);
    bool NextIsOf();
    int NumberCode(DovToken* token, bool longRunIsWord, int intCode, int realCode);
    void CheckDigits(const DovToken* token, int digits);
    bool LegalWord(DovToken* token, bool sql);
    bool Has(int dialect) const { return DovDialsLevel(dials, dialect) != 0; }
    bool OpenMember(DovInputFile* in, const VString& name, VString& path, const DovTxtPosn& at);
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

// The value of a nonnumeric literal image: an optional prefix (B, G, H, N or
// X, either case) skipped, the characters between the delimiters, a doubled
// delimiter standing for one. A malformed image is reported through
// `message` (when given) at `posn`; the value is then what could be read.
VString DovNonnumLiteralValue(DovMessageCallback message, const VString& image, const DovTxtPosn& posn);

// Whether a statement still open is over when `code` comes: the period, a
// verb that starts another statement, a phrase word of an enclosing
// statement (ELSE, WHEN) or a scope terminator.
bool DovEndsOpenStatement(int code);

// The value of a preprocessor constant from what the name lookup found (the
// name's symbol-table element): true for a 78-level constant with an integer
// value (`isNumber` 1, `text` its digits) or a string value (`text` the
// string); false for anything else.
bool DovPreprocessorConstantValue(DovExpr* element, VString& text, int& isNumber, long long& number);
