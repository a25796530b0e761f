// DovParser: the parser options block. Every setting a parse reads, the
// message and progress callbacks, the option table through which the command
// line reaches the settings, and the statistics of the last parse.
// DovParserImpl (parser/parser_impl.h) is the working parser built on it.
#pragma once

#include "lbase/cmdline.h"
#include "lbase/message.h"
#include "lbase/txtposn.h"
#include "lbase/vstring.h"
#include "lbase/vstring_list.h"
#include "tree/dials.h"

class DovExpr;
class DovTokenList;

// Choice values of the options, the index of the word in the choice list.
enum DovParserLineFormat : int {  // "dial","fixed","free","fsc-free","var"
    DOV_LF_DIAL = 0,
    DOV_LF_FIXED = 1,
    DOV_LF_FREE = 2,
    DOV_LF_FSC_FREE = 3,
    DOV_LF_VAR = 4,
};
enum DovDialNoYes : int {  // "dial","no","yes"; a switch once resolved
    DOV_DNY_DIAL = 0,
    DOV_DNY_NO = 1,
    DOV_DNY_YES = 2,
};
enum DovAutoNoYes : int {  // "auto","no","yes"
    DOV_ANY_AUTO = 0,
    DOV_ANY_NO = 1,
    DOV_ANY_YES = 2,
};
enum DovStorageMode : int {  // "dial","byte","word","fsc"
    DOV_STOR_DIAL = 0,
    DOV_STOR_BYTE = 1,
    DOV_STOR_WORD = 2,
    DOV_STOR_FSC = 3,
};

// The choice lists of the options, each ended by an empty string.
extern const VString DovCopyNameCaseChoices[4];   // "exact","lower","upper"
extern const VString DovLineFormatChoices[6];     // "dial","fixed","free","fsc-free","var"
extern const VString DovDialNoYesChoices[4];      // "dial","no","yes"
extern const VString DovAutoNoYesChoices[4];      // "auto","no","yes"
extern const VString DovStorageModeChoices[5];    // "dial","byte","word","fsc"

// Group bits of the option records (DefineOptions' mask).
constexpr int kDovParserOptionGroups = 15;

// Receives progress texts with a position (the empty position for the
// phase texts of a parse).
using DovProgressCallback = void (*)(const DovTxtPosn& position, const VString& text);
// Called by grammar actions with the address of a cell holding a newly
// completed element.
using DovGrammarHookFn = void (*)(void* cell);

// One record of an option table: its kind, its name, the number or the text
// it sets, its help and the option groups (mask) it belongs to.
inline DovCommandLineFlag DovOptionRecord(char kind, const char* name, int* value, VString* string,
                                          const char* help, int mask) {
    DovCommandLineFlag f;
    f.kind = kind;
    f.name = name;
    f.value = value;
    f.string = string;
    f.help = help;
    f.mask = mask;
    return f;
}

// A heading of an option table: a '-' record with an empty name and the
// title as its help.
inline DovCommandLineFlag DovOptionHeading(const char* title, int mask = 7) {
    return DovOptionRecord('-', "", nullptr, nullptr, title, mask);
}

class DovParser {
public:
    DovParser();
    // Every setting is copied; the option table starts empty.
    DovParser(const DovParser& other);
    DovParser& operator=(const DovParser& other);
    virtual ~DovParser();

    // Parses one file: the root of its tree goes to `root`, its messages to
    // `messages`. The status is described with DovParserImpl::Parse.
    virtual int Parse(const char* fileName, DovExpr*& root, DovTokenList* messages) = 0;

    // Builds the option records of the five groups, keeps those whose mask
    // shares a bit with `mask` in the option table and returns the table.
    DovCommandLineFlagTable* DefineOptions(int mask);

    // Computes the dialect set from the primary and secondary dialect within
    // the allowed dialects and replaces every "dial" setting by the
    // dialects' default. 0, or the code of the dialect check (22) with its
    // text in `error`; then nothing but the dialect set has changed. Runs
    // once per object.
    int ResolveDialectDefaults(VString& error);

    // --- The options block, in its order ---------------------------------
    DovMessageCallback messageCallback = DovPrintPosnMessage;  // levels other than warning and error
    DovCommandLineFlagTable optionTable;                      // filled by DefineOptions
    DovDials dials = DovNoDials();                            // by ResolveDialectDefaults
    int primaryDialect = DIAL_MF;                             // lang
    int secondaryDialect = DIAL_NONE;                         // lang2
    VString encodedDialects;                                  // langs
    DovDials allowedDialects = DovAllDials();
    int lineFormat = DOV_LF_DIAL;                             // line-format
    int progidComments = 0;                                   // progid-comments
    int sepSpaceRequired = DOV_DNY_DIAL;                      // sep-space-reqd
    VStringArray excludedKeywords{100};                       // exclude-keywords
    VStringArray constantSettings{50};                        // set-constants
    int assignExternal = 0;                                   // assign-external
    int sqlSwitch = 1;                                        // sql
    int cicsSwitch = 1;                                       // cics
    int cicsEib = DOV_ANY_AUTO;                               // cics-eib
    VStringArray copyDirs{12};                                // copylib-dir, ["."]
    VStringArray copySuffixes{10};                            // copylib-sfx, [".cpy"]
    int copyNameCase = 1;                                     // copynames-case: lower
    int oldCopy = 0;                                          // old-copy
    int irrevInline = 0;                                      // irrev-inline
    int inlineCopy = 1;                                       // inline-copy
    int keepWarnings = 1;                                     // warnings
    int multiUndefdErrs = 0;                                  // multi-undefd-errs
    int resolveNames = 1;                                     // resolve-use-def
    int sameParaDataName = DOV_DNY_DIAL;                      // same-para-data-name
    int lengthsAndOffsets = 1;                                // leng-offs
    int storageMode = DOV_STOR_DIAL;                          // lo-stor-mode
    int trailingSepSign = DOV_DNY_DIAL;                       // num-sign-trail-sep
    int ebcdicSign = 0;                                       // num-sign-ebcdic (kept, not read)
    int pointerSize = 4;                                      // lo-pointer-size
    int procPointerSize = 4;                                  // lo-proc-pointer-size
    int indexSize = 4;                                        // lo-index-size
    int unfoldFlexArrays = 1;                                 // lo-unfold-flex-arrays
    int fillNullArgs = 1;                                     // empty slots get null nodes after parsing
    DovGrammarHookFn grammarHook;                             // does nothing by default
    DovProgressCallback progressCallback = nullptr;
    int progressInterval = 100;
    int lexOnly = 0;                                          // Parse only reads tokens
    int errRecoveryTrace = 0;                                 // also the lexer's trace switch
    int structureTrace = 0;                                   // programs, symbols
    int tokenTrace = 0;                                       // token adapter; above 1 more detail
    int printTree = 0;                                        // Parse prints the tree
    int tokenCount = 0;                                       // statistics of the last parse
    int lineCount = 0;
    int codeLineCount = 0;                                    // lines holding a token for the grammar

private:
    void CopySettings(const DovParser& other);
};
