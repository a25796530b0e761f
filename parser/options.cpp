#include "parser/options.h"

const VString DovCopyNameCaseChoices[4] = {"exact", "lower", "upper", ""};
const VString DovLineFormatChoices[6] = {"dial", "fixed", "free", "fsc-free", "var", ""};
const VString DovDialNoYesChoices[4] = {"dial", "no", "yes", ""};
const VString DovAutoNoYesChoices[4] = {"auto", "no", "yes", ""};
const VString DovStorageModeChoices[5] = {"dial", "byte", "word", "fsc", ""};

namespace {

void IgnoreGrammarCell(void*) {}

bool Has(DovDials set, int dialect) { return DovDialsLevel(set, dialect) != 0; }

// A "dial"/"no"/"yes" setting as a switch: "dial" takes the dialects'
// default.
int ResolveDialNoYes(int setting, bool dialectDefault) {
    switch (setting) {
        case DOV_DNY_DIAL: return dialectDefault ? 1 : 0;
        case DOV_DNY_NO: return 0;
        default: return 1;
    }
}

}  // namespace

DovParser::DovParser() : grammarHook(IgnoreGrammarCell) {
    copyDirs.Append(".");
    copySuffixes.Append(".cpy");
}

DovParser::DovParser(const DovParser& other) : grammarHook(IgnoreGrammarCell) { CopySettings(other); }

DovParser& DovParser::operator=(const DovParser& other) {
    if (this != &other) CopySettings(other);
    return *this;
}

DovParser::~DovParser() = default;

void DovParser::CopySettings(const DovParser& other) {
    messageCallback = other.messageCallback;
    optionTable = DovCommandLineFlagTable();  // the records point at the other object
    dials = other.dials;
    primaryDialect = other.primaryDialect;
    secondaryDialect = other.secondaryDialect;
    encodedDialects = other.encodedDialects;
    allowedDialects = other.allowedDialects;
    lineFormat = other.lineFormat;
    progidComments = other.progidComments;
    sepSpaceRequired = other.sepSpaceRequired;
    excludedKeywords = other.excludedKeywords;
    constantSettings = other.constantSettings;
    assignExternal = other.assignExternal;
    sqlSwitch = other.sqlSwitch;
    cicsSwitch = other.cicsSwitch;
    cicsEib = other.cicsEib;
    copyDirs = other.copyDirs;
    copySuffixes = other.copySuffixes;
    copyNameCase = other.copyNameCase;
    oldCopy = other.oldCopy;
    irrevInline = other.irrevInline;
    inlineCopy = other.inlineCopy;
    keepWarnings = other.keepWarnings;
    multiUndefdErrs = other.multiUndefdErrs;
    resolveNames = other.resolveNames;
    sameParaDataName = other.sameParaDataName;
    lengthsAndOffsets = other.lengthsAndOffsets;
    storageMode = other.storageMode;
    trailingSepSign = other.trailingSepSign;
    ebcdicSign = other.ebcdicSign;
    pointerSize = other.pointerSize;
    procPointerSize = other.procPointerSize;
    indexSize = other.indexSize;
    unfoldFlexArrays = other.unfoldFlexArrays;
    fillNullArgs = other.fillNullArgs;
    grammarHook = other.grammarHook;
    progressCallback = other.progressCallback;
    progressInterval = other.progressInterval;
    lexOnly = other.lexOnly;
    errRecoveryTrace = other.errRecoveryTrace;
    structureTrace = other.structureTrace;
    tokenTrace = other.tokenTrace;
    printTree = other.printTree;
    tokenCount = other.tokenCount;
    lineCount = other.lineCount;
    codeLineCount = other.codeLineCount;
}

DovCommandLineFlagTable* DovParser::DefineOptions(int mask) {
    auto heading = [](const char* title) { return DovOptionHeading(title); };
    auto flag = [](char kind, const char* name, int* value, const char* help, int groups) {
        return DovOptionRecord(kind, name, value, nullptr, help, groups);
    };
    auto choice = [](const char* name, int* value, const VString* choices, VString* display, const char* help,
                     int groups) {
        DovCommandLineFlag f = DovOptionRecord('l', name, value, display, help, groups);
        f.choices = choices;
        return f;
    };
    auto list = [](const char* name, VStringArray& array, const char* help, int groups) {
        DovCommandLineFlag f = DovOptionRecord('z', name, nullptr, nullptr, help, groups);
        f.list = &array;
        return f;
    };
    const DovCommandLineFlag text =
        DovOptionRecord('s', "langs", nullptr, &encodedDialects, "Encoded dialects string", 8);

    const DovCommandLineFlag records[] = {
        heading("Cobol Dialects"),
        choice("lang", &primaryDialect, DovDialectNames, DovDialectDisplayNames, "Primary Cobol dialect", 7),
        choice("lang2", &secondaryDialect, DovDialectNames, DovDialectDisplayNames, "Secondary Cobol dialect", 7),
        text,
        choice("line-format", &lineFormat, DovLineFormatChoices, nullptr, "Source line format", 15),
        flag('b', "progid-comments", &progidComments, "Allow Program-Id line comments", 15),
        choice("sep-space-reqd", &sepSpaceRequired, DovDialNoYesChoices, nullptr,
               "Separators must be followed by spaces", 15),
        list("exclude-keywords", excludedKeywords, "Excluded keywords", 15),
        heading("Extra Features"),
        list("set-constants", constantSettings, "78 constant settings, strings: name'value', numbers: name(value)",
             15),
        flag('b', "assign-external", &assignExternal, "Assume that undefined data items in ASSIGN TO are external",
             15),
        flag('b', "sql", &sqlSwitch, "Parse SQL in EXEC SQL", 15),
        flag('b', "cics", &cicsSwitch, "Parse CICS statements embedded in EXEC CICS ... END-EXEC", 15),
        choice("cics-eib", &cicsEib, DovAutoNoYesChoices, nullptr, "Add CICS EIB data block to LINKAGE SECTION", 15),
        heading("Copy Libraries"),
        list("copylib-dir", copyDirs, "Copylib directories path", 15),
        list("copylib-sfx", copySuffixes, "Copylib files default suffix(es)", 15),
        choice("copynames-case", &copyNameCase, DovCopyNameCaseChoices, nullptr,
               "Try copybook name in lower/upper case if not found", 15),
        flag('b', "old-copy", &oldCopy, "Allow old 1968 Copy statements", 15),
        flag('b', "irrev-inline", &irrevInline, "Inline copybooks irreversibly", 15),
        flag('b', "inline-copy", &inlineCopy, "Go into copybooks when parsing", 8),
        heading("Parser Messages"),
        flag('b', "warnings", &keepWarnings, "Display Warnings", 7),
        flag('b', "multi-undefd-errs", &multiUndefdErrs,
             "Error message for every (OFF: only first) use of undefined name", 15),
        flag('b', "resolve-use-def", &resolveNames, "Resolve use-definition links for named objects", 8),
        choice("same-para-data-name", &sameParaDataName, DovDialNoYesChoices, nullptr,
               "One name can be used both as paragraph-name and data-name", 15),
        heading("Length and Offset"),
        flag('b', "leng-offs", &lengthsAndOffsets, "Compute data item lengths and offsets", 15),
        choice("lo-stor-mode", &storageMode, DovStorageModeChoices, nullptr, "Storage mode (length&offset computation)",
               7),
        choice("num-sign-trail-sep", &trailingSepSign, DovDialNoYesChoices, nullptr,
               "Is Numeric Sign a Trailing Separate Character", 15),
        flag('b', "num-sign-ebcdic", &ebcdicSign, "Is Numeric Sign an EBCDIC character", 15),
        flag('n', "lo-pointer-size", &pointerSize, "Memory model: Pointer size", 7),
        flag('n', "lo-proc-pointer-size", &procPointerSize, "Memory model: Procedure-Pointer size", 7),
        flag('n', "lo-index-size", &indexSize, "Memory model: Index size", 7),
        flag('b', "lo-unfold-flex-arrays", &unfoldFlexArrays,
             "Compute length of table with OCCURS DEPENDING ON based on upper bounds", 7),
        DovCommandLineFlag(),
    };
    return &DovSelectCommandLineFlags(optionTable, records, mask);
}

int DovParser::ResolveDialectDefaults(VString& error) {
    dials = DovNoDials();
    int rc = DovCheckDialects(dials, primaryDialect, secondaryDialect, allowedDialects, error);
    if (rc != 0) return rc;
    encodedDialects = DovDialsToString(dials);
    if (lineFormat == DOV_LF_DIAL)
        lineFormat = Has(dials, DIAL_ICOBOL) ? DOV_LF_FREE : Has(dials, DIAL_FSC) ? DOV_LF_VAR : DOV_LF_FIXED;
    sepSpaceRequired = ResolveDialNoYes(sepSpaceRequired, !Has(dials, DIAL_SAA) && !Has(dials, DIAL_MF) &&
                                                              !Has(dials, DIAL_MS) && !Has(dials, DIAL_WANG));
    sameParaDataName = ResolveDialNoYes(sameParaDataName, Has(dials, DIAL_MF) || Has(dials, DIAL_ICOBOL));
    if (storageMode == DOV_STOR_DIAL)
        storageMode = Has(dials, DIAL_FSC) ? DOV_STOR_FSC : Has(dials, DIAL_ACU) ? DOV_STOR_WORD : DOV_STOR_BYTE;
    trailingSepSign = ResolveDialNoYes(trailingSepSign, Has(dials, DIAL_RM) || Has(dials, DIAL_RM85));
    return 0;
}
