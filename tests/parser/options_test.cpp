// The parser options: defaults, the option records of the five groups as
// the option engine lists them, copies, and the dialect defaults.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "parser/parser.h"
#include "tests/support/child_process.h"

namespace {

// A plain options object.
struct Options : DovParser {
    int Parse(const char*, DovExpr*&, DovTokenList*) override { return 0; }
};

const char kHelpListing[] = R"~(Command-Line parameters set:

*** Cobol Dialects ***

-lang=none|ansi74|ansi85|osvs|vsii|saa|xopen|mf|ms|rm|rm85|dosvs|univac|wang|fsc|net|fscnet|icobol|acu|dml|idms (now: Micro Focus)
	Primary Cobol dialect
-lang2=none|ansi74|ansi85|osvs|vsii|saa|xopen|mf|ms|rm|rm85|dosvs|univac|wang|fsc|net|fscnet|icobol|acu|dml|idms (now: None)
	Secondary Cobol dialect
-langs=string (now: "")
	Encoded dialects string
-line-format=dial|fixed|free|fsc-free|var (now: dial)
	Source line format
-progid-comments=boolean (now: -OFF-, can be -progid-comments or -no-progid-comments)
	Allow Program-Id line comments
-sep-space-reqd=dial|no|yes (now: dial)
	Separators must be followed by spaces
-exclude-keywords=string list (now: )
	Excluded keywords

*** Extra Features ***

-set-constants=string list (now: )
	78 constant settings, strings: name'value', numbers: name(value)
-assign-external=boolean (now: -OFF-, can be -assign-external or -no-assign-external)
	Assume that undefined data items in ASSIGN TO are external
-sql=boolean (now: +ON+, can be -sql or -no-sql)
	Parse SQL in EXEC SQL
-cics=boolean (now: +ON+, can be -cics or -no-cics)
	Parse CICS statements embedded in EXEC CICS ... END-EXEC
-cics-eib=auto|no|yes (now: auto)
	Add CICS EIB data block to LINKAGE SECTION

*** Copy Libraries ***

-copylib-dir=string list (now: ".")
	Copylib directories path
-copylib-sfx=string list (now: ".cpy")
	Copylib files default suffix(es)
-copynames-case=exact|lower|upper (now: lower)
	Try copybook name in lower/upper case if not found
-old-copy=boolean (now: -OFF-, can be -old-copy or -no-old-copy)
	Allow old 1968 Copy statements
-irrev-inline=boolean (now: -OFF-, can be -irrev-inline or -no-irrev-inline)
	Inline copybooks irreversibly
-inline-copy=boolean (now: +ON+, can be -inline-copy or -no-inline-copy)
	Go into copybooks when parsing

*** Parser Messages ***

-warnings=boolean (now: +ON+, can be -warnings or -no-warnings)
	Display Warnings
-multi-undefd-errs=boolean (now: -OFF-, can be -multi-undefd-errs or -no-multi-undefd-errs)
	Error message for every (OFF: only first) use of undefined name
-resolve-use-def=boolean (now: +ON+, can be -resolve-use-def or -no-resolve-use-def)
	Resolve use-definition links for named objects
-same-para-data-name=dial|no|yes (now: dial)
	One name can be used both as paragraph-name and data-name

*** Length and Offset ***

-leng-offs=boolean (now: +ON+, can be -leng-offs or -no-leng-offs)
	Compute data item lengths and offsets
-lo-stor-mode=dial|byte|word|fsc (now: dial)
	Storage mode (length&offset computation)
-num-sign-trail-sep=dial|no|yes (now: dial)
	Is Numeric Sign a Trailing Separate Character
-num-sign-ebcdic=boolean (now: -OFF-, can be -num-sign-ebcdic or -no-num-sign-ebcdic)
	Is Numeric Sign an EBCDIC character
-lo-pointer-size=number (now: 4)
	Memory model: Pointer size
-lo-proc-pointer-size=number (now: 4)
	Memory model: Procedure-Pointer size
-lo-index-size=number (now: 4)
	Memory model: Index size
-lo-unfold-flex-arrays=boolean (now: +ON+, can be -lo-unfold-flex-arrays or -no-lo-unfold-flex-arrays)
	Compute length of table with OCCURS DEPENDING ON based on upper bounds
)~";

const char kShortForm[] = R"~(-lang=mf
-lang2=none
-langs=
-line-format=dial
-no-progid-comments
-sep-space-reqd=dial
-exclude-keywords=
-set-constants=
-no-assign-external
-sql
-cics
-cics-eib=auto
-copylib-dir=.
-copylib-sfx=.cpy
-copynames-case=lower
-no-old-copy
-no-irrev-inline
-inline-copy
-warnings
-no-multi-undefd-errs
-resolve-use-def
-same-para-data-name=dial
-leng-offs
-lo-stor-mode=dial
-num-sign-trail-sep=dial
-no-num-sign-ebcdic
-lo-pointer-size=4
-lo-proc-pointer-size=4
-lo-index-size=4
-lo-unfold-flex-arrays
)~";

TEST(ParserOptions, HelpListingOfTheFiveGroups) {
    Options options;
    const DovCommandLineFlagTable& table = *options.DefineOptions(kDovParserOptionGroups);
    std::ostringstream out;
    DovPrintCommandLineFlags(table, out, 0, 0, nullptr);
    EXPECT_EQ(out.str(), std::string("Command-Line arguments parsed:\n\n") + kHelpListing);
    std::ostringstream cop;
    DovPrintCommandLineFlagValues(table, cop, kDovParserOptionGroups);
    EXPECT_EQ(cop.str(), kShortForm);
}

TEST(ParserOptions, GroupMasksSelectRecords) {
    Options options;
    // Mask 8 leaves out the headings and the records of mask 7 only.
    const DovCommandLineFlagTable& eight = *options.DefineOptions(8);
    std::ostringstream cop;
    DovPrintCommandLineFlagValues(eight, cop, 15);
    const std::string text = cop.str();
    EXPECT_NE(text.find("-langs=\n"), std::string::npos);
    EXPECT_NE(text.find("-inline-copy\n"), std::string::npos);
    EXPECT_EQ(text.find("-lang=mf"), std::string::npos);
    EXPECT_EQ(text.find("-warnings"), std::string::npos);
    EXPECT_EQ(eight.count, 22);
    for (int i = 0; i < eight.count; ++i) EXPECT_NE(eight.flags[i].kind, '-');
    EXPECT_EQ(eight.flags[eight.count].kind, 0);
    // Mask 7 leaves out langs, inline-copy and resolve-use-def.
    const DovCommandLineFlagTable& seven = *options.DefineOptions(7);
    EXPECT_EQ(seven.count, 32);
    EXPECT_EQ(options.DefineOptions(15)->count, 35);
}

TEST(ParserOptions, TheEngineWritesTheFields) {
    Options options;
    const DovCommandLineFlagTable& table = *options.DefineOptions(kDovParserOptionGroups);
    const char* words[] = {"-lang=icobol", "-lang2=ansi85", "-line-format=var", "-no-sql",
                           "-copylib-dir=a,b", "-copylib-sfx=.CPY", "-lo-pointer-size=8",
                           "-same-para-data-name=yes", "-exclude-keywords=NEXT", "prog.cbl"};
    VStringList files, problems;
    ASSERT_EQ(SetCLFlag(table, 0, 10, words, files, problems), 0) << problems;
    EXPECT_EQ(options.primaryDialect, DIAL_ICOBOL);
    EXPECT_EQ(options.secondaryDialect, DIAL_ANSI85);
    EXPECT_EQ(options.lineFormat, DOV_LF_VAR);
    EXPECT_EQ(options.sqlSwitch, 0);
    ASSERT_EQ(options.copyDirs.count, 2);
    EXPECT_TRUE(options.copyDirs.items[1] == "b");
    EXPECT_TRUE(options.copySuffixes.items[0] == ".CPY");
    EXPECT_EQ(options.pointerSize, 8);
    EXPECT_EQ(options.sameParaDataName, DOV_DNY_YES);
    EXPECT_EQ(options.excludedKeywords.count, 1);
    ASSERT_FALSE(files.IsEmpty());
    EXPECT_TRUE(files.head->value == "prog.cbl");
}

TEST(ParserOptions, DefaultsOfTheBlock) {
    Options o;
    EXPECT_EQ(o.messageCallback, DovPrintPosnMessage);
    EXPECT_EQ(o.optionTable.count, 0);
    EXPECT_EQ(o.optionTable.flags[0].kind, 0);
    EXPECT_EQ(o.dials, DovNoDials());
    EXPECT_EQ(o.primaryDialect, DIAL_MF);
    EXPECT_EQ(o.secondaryDialect, DIAL_NONE);
    EXPECT_TRUE(o.encodedDialects.IsEmpty());
    EXPECT_EQ(o.allowedDialects, DovAllDials());
    EXPECT_EQ(o.lineFormat, 0);
    EXPECT_EQ(o.sepSpaceRequired, 0);
    EXPECT_EQ(o.excludedKeywords.count, 0);
    EXPECT_EQ(o.excludedKeywords.capacity, 100);
    EXPECT_EQ(o.constantSettings.capacity, 50);
    EXPECT_EQ(o.sqlSwitch, 1);
    EXPECT_EQ(o.cicsSwitch, 1);
    EXPECT_EQ(o.cicsEib, DOV_ANY_AUTO);
    ASSERT_EQ(o.copyDirs.count, 1);
    EXPECT_TRUE(o.copyDirs.items[0] == ".");
    EXPECT_EQ(o.copyDirs.capacity, 12);
    ASSERT_EQ(o.copySuffixes.count, 1);
    EXPECT_TRUE(o.copySuffixes.items[0] == ".cpy");
    EXPECT_EQ(o.copySuffixes.capacity, 10);
    EXPECT_EQ(o.copyNameCase, 1);
    EXPECT_EQ(o.inlineCopy, 1);
    EXPECT_EQ(o.keepWarnings, 1);
    EXPECT_EQ(o.resolveNames, 1);
    EXPECT_EQ(o.lengthsAndOffsets, 1);
    EXPECT_EQ(o.pointerSize, 4);
    EXPECT_EQ(o.procPointerSize, 4);
    EXPECT_EQ(o.indexSize, 4);
    EXPECT_EQ(o.unfoldFlexArrays, 1);
    EXPECT_EQ(o.fillNullArgs, 1);
    ASSERT_NE(o.grammarHook, nullptr);
    int cell = 0;
    o.grammarHook(&cell);  // does nothing
    EXPECT_EQ(o.progressCallback, nullptr);
    EXPECT_EQ(o.progressInterval, 100);
    EXPECT_EQ(o.lexOnly + o.errRecoveryTrace + o.structureTrace + o.tokenTrace + o.printTree, 0);
    EXPECT_EQ(o.tokenCount + o.lineCount, 0);
}

void SomeMessage(int, const DovTxtPosn&, const VString&) {}
void SomeProgress(const DovTxtPosn&, const VString&) {}

TEST(ParserOptions, ACopyHasEverySettingAndAnEmptyOptionTable) {
    Options from;
    from.DefineOptions(kDovParserOptionGroups);
    from.messageCallback = SomeMessage;
    from.primaryDialect = DIAL_ACU;
    from.encodedDialects = "x";
    from.excludedKeywords.Append("NEXT");
    from.constantSettings.Append("K(1)");
    from.copyDirs.Append("lib");
    from.lineFormat = DOV_LF_FREE;
    from.storageMode = DOV_STOR_WORD;
    from.keepWarnings = 0;
    from.progressCallback = SomeProgress;
    from.printTree = 1;
    from.tokenCount = 7;
    from.lineCount = 3;

    auto check = [&](const DovParser& copy) {
        EXPECT_EQ(copy.optionTable.count, 0);
        EXPECT_EQ(copy.optionTable.flags[0].kind, 0);
        EXPECT_EQ(copy.messageCallback, SomeMessage);
        EXPECT_EQ(copy.primaryDialect, DIAL_ACU);
        EXPECT_TRUE(copy.encodedDialects == "x");
        ASSERT_EQ(copy.excludedKeywords.count, 1);
        EXPECT_TRUE(copy.excludedKeywords.items[0] == "NEXT");
        EXPECT_NE(copy.excludedKeywords.items, from.excludedKeywords.items);  // a deep copy
        EXPECT_EQ(copy.constantSettings.count, 1);
        ASSERT_EQ(copy.copyDirs.count, 2);
        EXPECT_TRUE(copy.copyDirs.items[1] == "lib");
        EXPECT_EQ(copy.lineFormat, DOV_LF_FREE);
        EXPECT_EQ(copy.storageMode, DOV_STOR_WORD);
        EXPECT_EQ(copy.keepWarnings, 0);
        EXPECT_EQ(copy.progressCallback, SomeProgress);
        EXPECT_EQ(copy.printTree, 1);
        EXPECT_EQ(copy.tokenCount, 7);
        EXPECT_EQ(copy.lineCount, 3);
    };
    Options assigned;
    assigned.DefineOptions(kDovParserOptionGroups);
    assigned = from;
    check(assigned);
    DovParserImpl built(from);
    check(built);
    DovParserImpl copied(built);
    check(copied);
    DovParserImpl reassigned;
    reassigned.DefineOptions(kDovParserOptionGroups);
    reassigned = from;
    check(reassigned);
    // The copy's own table points at the copy.
    const DovCommandLineFlagTable& table = *assigned.DefineOptions(kDovParserOptionGroups);
    const char* words[] = {"-lang=rm"};
    VStringList files, problems;
    ASSERT_EQ(SetCLFlag(table, 0, 1, words, files, problems), 0);
    EXPECT_EQ(assigned.primaryDialect, DIAL_RM);
    EXPECT_EQ(from.primaryDialect, DIAL_ACU);
}

TEST(ParserOptions, ListSettingsGrowInsteadOfDropping) {
    Options options;
    for (int i = 0; i < 130; ++i) options.excludedKeywords.Append(DovFormat("W%d", i));
    ASSERT_EQ(options.excludedKeywords.count, 130);
    EXPECT_TRUE(options.excludedKeywords.items[129] == "W129");
    Options copy(options);
    EXPECT_EQ(copy.excludedKeywords.count, 130);
    VStringArray empty(0);
    empty.Append("x");
    EXPECT_EQ(empty.count, 1);
}

TEST(ParserOptions, TheOptionTableFollowsAGrownList) {
    Options options;
    const DovCommandLineFlagTable& table = *options.DefineOptions(kDovParserOptionGroups);
    for (int i = 0; i < 12; ++i) options.copyDirs.Append(DovFormat("d%d", i));
    EXPECT_EQ(options.copyDirs.count, 13);
    EXPECT_GT(options.copyDirs.capacity, 12);
    const char* words[] = {"-copylib-dir=x,y,z"};
    VStringList files, problems;
    ASSERT_EQ(SetCLFlag(table, 0, 1, words, files, problems), 0);
    ASSERT_EQ(options.copyDirs.count, 3);
    EXPECT_TRUE(options.copyDirs.items[2] == "z");
}

// One row of the resolution table: the settings before, the dialects, and
// what resolution makes of them.
struct Resolution {
    const char* name;
    int primary, secondary;
    int lineFormat, sepSpace, samePara, storage, trailing;  // before
    int wantLineFormat, wantSepSpace, wantSamePara, wantStorage, wantTrailing;
};

class DialectDefaults : public ::testing::TestWithParam<Resolution> {};

TEST_P(DialectDefaults, Resolve) {
    const Resolution& r = GetParam();
    Options o;
    o.primaryDialect = r.primary;
    o.secondaryDialect = r.secondary;
    o.lineFormat = r.lineFormat;
    o.sepSpaceRequired = r.sepSpace;
    o.sameParaDataName = r.samePara;
    o.storageMode = r.storage;
    o.trailingSepSign = r.trailing;
    VString error;
    ASSERT_EQ(o.ResolveDialectDefaults(error), 0) << error;
    EXPECT_TRUE(error.IsEmpty());
    EXPECT_EQ(o.lineFormat, r.wantLineFormat);
    EXPECT_EQ(o.sepSpaceRequired, r.wantSepSpace);
    EXPECT_EQ(o.sameParaDataName, r.wantSamePara);
    EXPECT_EQ(o.storageMode, r.wantStorage);
    EXPECT_EQ(o.trailingSepSign, r.wantTrailing);
    DovDials want = DovNoDials();
    DovDialsAdd(want, r.primary);
    DovDialsAdd(want, r.secondary);
    EXPECT_EQ(o.dials, want);
    EXPECT_TRUE(o.encodedDialects == DovDialsToString(want));
}

constexpr int D = 0, NO = 1, YES = 2;

INSTANTIATE_TEST_SUITE_P(
    Table, DialectDefaults,
    ::testing::Values(
        // name, lang, lang2, before: line sep same stor trail, after: line sep same stor trail
        Resolution{"defaults", DIAL_MF, DIAL_NONE, D, D, D, D, D, DOV_LF_FIXED, 0, 1, DOV_STOR_BYTE, 0},
        Resolution{"ansi85", DIAL_ANSI85, DIAL_NONE, D, D, D, D, D, DOV_LF_FIXED, 1, 0, DOV_STOR_BYTE, 0},
        Resolution{"icobol", DIAL_ICOBOL, DIAL_NONE, D, D, D, D, D, DOV_LF_FREE, 1, 1, DOV_STOR_BYTE, 0},
        Resolution{"fsc", DIAL_FSC, DIAL_NONE, D, D, D, D, D, DOV_LF_VAR, 1, 0, DOV_STOR_FSC, 0},
        Resolution{"icobolFsc", DIAL_FSC, DIAL_ICOBOL, D, D, D, D, D, DOV_LF_FREE, 1, 1, DOV_STOR_FSC, 0},
        Resolution{"acu", DIAL_ACU, DIAL_NONE, D, D, D, D, D, DOV_LF_FIXED, 1, 0, DOV_STOR_WORD, 0},
        Resolution{"acuFsc", DIAL_ACU, DIAL_FSC, D, D, D, D, D, DOV_LF_VAR, 1, 0, DOV_STOR_FSC, 0},
        Resolution{"saa", DIAL_SAA, DIAL_NONE, D, D, D, D, D, DOV_LF_FIXED, 0, 0, DOV_STOR_BYTE, 0},
        Resolution{"ms", DIAL_MS, DIAL_NONE, D, D, D, D, D, DOV_LF_FIXED, 0, 0, DOV_STOR_BYTE, 0},
        Resolution{"wang", DIAL_WANG, DIAL_NONE, D, D, D, D, D, DOV_LF_FIXED, 0, 0, DOV_STOR_BYTE, 0},
        Resolution{"rm", DIAL_RM, DIAL_NONE, D, D, D, D, D, DOV_LF_FIXED, 1, 0, DOV_STOR_BYTE, 1},
        Resolution{"rm85", DIAL_ANSI85, DIAL_RM85, D, D, D, D, D, DOV_LF_FIXED, 1, 0, DOV_STOR_BYTE, 1},
        Resolution{"explicitNo", DIAL_RM, DIAL_ICOBOL, D, NO, NO, D, NO, DOV_LF_FREE, 0, 0, DOV_STOR_BYTE, 0},
        Resolution{"explicitYes", DIAL_MF, DIAL_NONE, D, YES, YES, D, YES, DOV_LF_FIXED, 1, 1, DOV_STOR_BYTE, 1},
        Resolution{"explicitKept", DIAL_ICOBOL, DIAL_FSC, DOV_LF_FSC_FREE, D, D, DOV_STOR_BYTE, D,
                   DOV_LF_FSC_FREE, 1, 1, DOV_STOR_BYTE, 0},
        Resolution{"explicitWord", DIAL_FSC, DIAL_NONE, DOV_LF_FIXED, D, D, DOV_STOR_WORD, D, DOV_LF_FIXED, 1, 0,
                   DOV_STOR_WORD, 0}),
    [](const ::testing::TestParamInfo<Resolution>& info) { return std::string(info.param.name); });

TEST(ParserOptions, ADialectOutsideTheAllowedSetChangesNothingElse) {
    Options o;
    o.allowedDialects = DovNoDials();
    DovDialsAdd(o.allowedDialects, DIAL_ANSI85);
    o.primaryDialect = DIAL_MF;
    o.lineFormat = DOV_LF_DIAL;
    VString error;
    EXPECT_EQ(o.ResolveDialectDefaults(error), 22);
    EXPECT_TRUE(error == "The specified combination of dialects is not allowed") << error;
    EXPECT_TRUE(o.encodedDialects.IsEmpty());
    EXPECT_EQ(o.lineFormat, DOV_LF_DIAL);
    EXPECT_EQ(o.sepSpaceRequired, DOV_DNY_DIAL);
    EXPECT_EQ(o.sameParaDataName, DOV_DNY_DIAL);
    EXPECT_EQ(o.storageMode, DOV_STOR_DIAL);
    EXPECT_EQ(o.trailingSepSign, DOV_DNY_DIAL);
    // Within the allowed set all is well.
    o.primaryDialect = DIAL_ANSI85;
    error = VString();
    EXPECT_EQ(o.ResolveDialectDefaults(error), 0);
    EXPECT_EQ(o.lineFormat, DOV_LF_FIXED);
}

TEST(ParserOptions, PositionedMessagePrinter) {
    vemlo_test::ChildResult r = vemlo_test::RunInChild([] {
        DovPrintPosnMessage(MSG_ERR, DovNullPosn, "no place");
        DovPrintPosnMessage(MSG_WARN, DovTxtPosn(0, 4, 0), "column only");
        std::cout.flush();
    });
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.out.find("ERROR: no place\n"), 0u) << r.out;
    EXPECT_NE(r.out.find(": Warning: column only\n"), std::string::npos) << r.out;
}

}  // namespace
