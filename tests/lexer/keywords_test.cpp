#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "lexer/lexer.h"
#include "tests/support/corpus.h"
#include "tree/tree.h"

namespace {

// Dialect fields as (lowest bit, width), numbered as the dialect set numbers
// them (1 ansi74 ... 20 idms).
struct Field {
    const char* name;
    int low, width;
};
const Field kFields[] = {
    {"", 0, 0},       {"ansi74", 1, 1}, {"ansi85", 2, 1},  {"osvs", 3, 1},   {"vsii", 4, 2},  {"saa", 6, 2},
    {"xopen", 8, 1},  {"mf", 9, 3},     {"ms", 12, 2},     {"rm", 14, 1},    {"rm85", 15, 1}, {"dosvs", 16, 1},
    {"univac", 17, 1}, {"wang", 18, 1}, {"fsc", 19, 1},    {"net", 20, 1},   {"fscnet", 21, 1},
    {"icobol", 22, 1}, {"acu", 23, 1},  {"dml", 24, 1},    {"idms", 25, 1},
};

// A dialect at its highest level, as the parser adds it to the set.
std::uint32_t Full(int dialect) {
    const Field& f = kFields[dialect];
    return ((1u << f.width) - 1u) << f.low;
}

constexpr int kAnsi85 = 2, kSaa = 5, kMf = 7, kFsc = 14;

bool Reserved(const char* word, std::uint32_t dials, bool extra = false) {
    return DovReservedKeyword(word, dials, true, extra) != nullptr;
}

TEST(Keywords, ReservedTestEdgeCases) {
    EXPECT_TRUE(Reserved("ACCEPT", Full(kAnsi85)));
    const KeywordEntry* accept = DovReservedKeyword("ACCEPT", Full(kAnsi85), true, false);
    ASSERT_NE(accept, nullptr);
    EXPECT_EQ(accept->code, RW_ACCEPT);
    // The reserved-word check switched off finds nothing.
    EXPECT_EQ(DovReservedKeyword("ACCEPT", Full(kAnsi85), false, false), nullptr);
    // Lookups take words as the lexer upper-cased them.
    EXPECT_EQ(FindKeyword("accept"), nullptr);
    EXPECT_EQ(FindKeyword("Accept"), nullptr);
    EXPECT_FALSE(Reserved("accept", ~0u, true));
    EXPECT_EQ(FindKeyword(""), nullptr);
    EXPECT_EQ(FindKeyword(static_cast<const char*>(nullptr)), nullptr);
    EXPECT_EQ(FindKeyword(VString("ACCEPT\0X", 8)), nullptr);
    EXPECT_EQ(FindKeyword("ACCEP"), nullptr);
    EXPECT_EQ(FindKeyword("ACCEPTS"), nullptr);
}

TEST(Keywords, ExtraKeywordsNeedTheSwitch) {
    EXPECT_FALSE(Reserved("SWITCH-1", Full(kMf)));
    EXPECT_TRUE(Reserved("SWITCH-1", Full(kMf), true));
    EXPECT_FALSE(Reserved("SWITCH-1", ~0u));
    // The switch does not make a word reserved in dialects that lack it.
    EXPECT_FALSE(Reserved("SWITCH-1", Full(kAnsi85), true));
    // Words without bit 0 do not depend on it.
    EXPECT_TRUE(Reserved("MOVE", Full(kAnsi85), true));
}

TEST(Keywords, SingleDialectWordsNeedTheirDialect) {
    int fsc_only = 0;
    for (const KeywordEntry* e = DovKeywordTable; e->word; ++e) {
        if (e->dials != 0x80000u) continue;
        ++fsc_only;
        SCOPED_TRACE(e->word);
        for (int d = 1; d <= 20; ++d) EXPECT_EQ(Reserved(e->word, Full(d)), d == kFsc) << kFields[d].name;
        EXPECT_TRUE(Reserved(e->word, Full(kFsc) | Full(kAnsi85)));
    }
    EXPECT_GT(fsc_only, 0);
}

TEST(Keywords, EachFieldIsMatchedOnItsOwn) {
    KeywordEntry mf_low{RW_ACCEPT, 0x200u, "X"};  // mf at level 1
    EXPECT_TRUE(DovKeywordIsReserved(mf_low, Full(kMf), false));
    EXPECT_TRUE(DovKeywordIsReserved(mf_low, 0x200u, false));
    EXPECT_FALSE(DovKeywordIsReserved(mf_low, 0x400u, false));  // mf at level 2 only
    EXPECT_FALSE(DovKeywordIsReserved(mf_low, ~0u & ~0xe00u, true));
    // Bit 0 and the bits above the dialects are no dialect.
    KeywordEntry nowhere{RW_ACCEPT, 0xfc000001u, "X"};
    EXPECT_FALSE(DovKeywordIsReserved(nowhere, ~0u, true));
}

TEST(Keywords, SaaFieldCountsOnItsLowerLevel) {
    KeywordEntry low{RW_ACCEPT, 0x40u, "X"}, high{RW_ACCEPT, 0x80u, "X"}, both{RW_ACCEPT, 0xc0u, "X"};
    EXPECT_TRUE(DovKeywordIsReserved(low, 0x40u, false));
    // SAA as the parser adds it (both bits) still finds the words of SAA.
    EXPECT_TRUE(DovKeywordIsReserved(low, Full(kSaa), false));
    EXPECT_TRUE(Reserved("ACCEPT", Full(kSaa)));
    EXPECT_TRUE(Reserved("GOBACK", Full(kSaa)));
    EXPECT_FALSE(DovKeywordIsReserved(low, 0x80u, false));
    for (std::uint32_t dials : {0x40u, 0x80u, 0xc0u}) {
        EXPECT_FALSE(DovKeywordIsReserved(high, dials, false)) << dials;
        EXPECT_FALSE(DovKeywordIsReserved(both, dials, false)) << dials;
    }
}

// EXIT PARAGRAPH and EXIT PERFORM CYCLE: their words are reserved where the
// compiler has the statements (MF, the newer IBM compilers, ACU and the
// .NET dialects), and stay user words under the standards and VS COBOL II.
TEST(Keywords, ParagraphAndCycleWhereTheCompilerHasTheExitStatements) {
    constexpr int kVsii = 4, kAcu = 18;
    for (const char* word : {"PARAGRAPH", "CYCLE"}) {
        SCOPED_TRACE(word);
        for (int d : {kMf, kSaa, kAcu}) EXPECT_TRUE(Reserved(word, Full(d))) << kFields[d].name;
        EXPECT_TRUE(Reserved(word, Full(kVsii) | Full(kMf)));
        for (int d : {kAnsi85, kVsii, 1, 3}) EXPECT_FALSE(Reserved(word, Full(d))) << kFields[d].name;
    }
}

TEST(Keywords, FindKeywordSearchesInOrder) {
    // The first record of a word wins, and the end record stops the search.
    KeywordEntry table[] = {{RW_ADD, 0x4, "ZETA"}, {RW_TO, 0x4, "ALPHA"}, {RW_MOVE, 0x4, "ZETA"},
                            {-1, 0, nullptr},      {RW_GO, 0x4, "BETA"}};
    ASSERT_NE(FindKeyword("ZETA", table), nullptr);
    EXPECT_EQ(FindKeyword("ZETA", table)->code, RW_ADD);
    EXPECT_EQ(FindKeyword("ALPHA", table)->code, RW_TO);
    EXPECT_EQ(FindKeyword("BETA", table), nullptr);
    // Every word of the real table finds its own record.
    for (KeywordEntry* e = DovKeywordTable; e->word; ++e) EXPECT_EQ(FindKeyword(e->word), e) << e->word;
}

TEST(Keywords, SqlAndCicsLookups) {
    EXPECT_EQ(DovFindSqlKeyword("ABSOLUTE"), 1161);
    EXPECT_EQ(DovFindSqlKeyword("ZONE"), 1413);
    EXPECT_EQ(DovFindSqlKeyword("CURRENT_DATE"), STK_CURRENT_DATE);
    EXPECT_EQ(DovFindSqlKeyword("SELECT"), STK_SELECT);
    EXPECT_EQ(DovFindSqlKeyword("select"), 0);
    EXPECT_EQ(DovFindSqlKeyword("CURRENT-DATE"), 0);
    EXPECT_EQ(DovFindSqlKeyword(""), 0);
    EXPECT_EQ(DovFindSqlKeyword(VString("SELECT\0", 7)), 0);
    EXPECT_EQ(DovFindSqlKeyword("ABCODE"), 0);
    EXPECT_EQ(DovFindCicsKeyword("ABCODE"), 1414);
    EXPECT_EQ(DovFindCicsKeyword("YYYYMMDD"), 1733);
    EXPECT_EQ(DovFindCicsKeyword("RESP2"), CTK_RESP2);
    EXPECT_EQ(DovFindCicsKeyword("ZZZ"), 0);
    EXPECT_EQ(DovFindCicsKeyword("AAA"), 0);
    for (int code = kDovSqlKeywordFirst; code <= kDovSqlKeywordLast; ++code)
        EXPECT_EQ(DovFindSqlKeyword(DovSqlKeywordName(code)), code);
    for (int code = kDovCicsKeywordFirst; code <= kDovCicsKeywordLast; ++code)
        EXPECT_EQ(DovFindCicsKeyword(DovCicsKeywordName(code)), code);
}

std::vector<std::string> Words(const char* text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    std::string w;
    while (in >> w) out.push_back(w);
    return out;
}

TEST(Keywords, EveryGrammarWordHasACode) {
    // The words of EXEC CICS commands, options and conditions the grammar reads.
    const char* cics =
        "ABEND ADDRESS SET ASKTIME BIF DEEDIT DELAY DELETE DELETEQ TD TS DUMP ENDBR FORMATTIME FREEMAIN GETMAIN "
        "HANDLE LINK PUSH READ READNEXT READPREV READQ RECEIVE MAP RETRIEVE RETURN REWRITE SEND TEXT START "
        "STARTBR SYNCPOINT UNLOCK WRITE WRITEQ XCTL ASSIGN AID CONDITION IGNORE LENGTH "
        "ABCODE AT ATTACHID DEST DUMPCODE INPARTN LDC MAPSET OUTPARTN PROGRAM QNAME SESSION TRANSID ABSTIME DATA "
        "DATE DATEFORM DAYCOUNT DAYOFMONTH DAYOFWEEK DDMMYY DDMMYYYY FIELD FROM FULLDATE INPUTMSG INTO MMDDYY "
        "MMDDYYYY MONTHOFYEAR NUMITEMS RESP RESP2 RIDFLD YEAR YYDDD YYDDMM YYMMDD YYYYDDD YYYYDDMM YYYYMMDD "
        "COMMAREA CONVID FLENGTH ITEM MAXLENGTH NUMREC QUEUE REQID RTERMID RTRANSID STATE TERMID TIME TOKEN "
        "USERID USING CTLCHAR CURSOR DATALENGTH DATESEP HOURS INITIMG INPUTMSGLEN KEYLENGTH LINEADDR MAPPINGDEV "
        "MAXFLENGTH MINUTES SECONDS TIMESEP ACEE CWA EIB TCTUA TWA DATASET FILE LABEL UPDATE DATAPOINTER "
        "INTERVAL SYSID AFTER ALARM ALTERNATE ASIS ATTACH AUXILIARY BELOW BUFFER CANCEL CBUFF CICSDATAKEY "
        "CNOTCOMPL COMPLETE CONFIRM CONSISTENT DATAONLY DCT DEBKEY DEBREC DEFAULT DEFRESP ENDACTIVITY EQUAL "
        "ERASE ERASEAUP FCT FMH FOR FORMFEED FREEKB FRSET GENERIC GTEQ HONEOM IMMEDIATE INVITE L40 L64 L80 LAST "
        "LEAVEKB MAIN MAPONLY MAPPED MASSINSERT NEXT NOCHECK NODUMP NOEDIT NOHANDLE NOSUSPEND NOTRUNCATE PAGING "
        "PASSBK PCT PPT PRINT PROTECT PSEUDOBIN RBA REPEATABLE RESET RRN SHARED SIT STORAGE STRFIELD "
        "SYNCONRETURN TABLES TASK TCT TERMINAL UNCOMMITTED UNTIL USERDATAKEY WAIT "
        "ALLOCERR BMS CBIDERR CCERROR CHANGED DISABLED DSSTAT DUPKEY DUPREC ENDDATA ENDFILE ENDINPT ENQBUSY "
        "ENVDEFERR EOC EODS EOF ERROR EXPIRED FILENOTFOUND FUNCERR IGREQCD IGREQID ILLOGIC INBFMH INVERRTERM "
        "INVLDC INVMPSZ INVPARTN INVPARTNSET INVREQ IOERR ISCINVREQ ITEMERR JIDERR LENGERR LOADING LOCKED "
        "MAPERROR MAPFAIL NAMEERROR NETNAMEIDERR NODEIDERR NOJBUFSP NONVAL NOPASSBKRD NOPASSBKWR NOSPACE "
        "NOSPOOL NOSTART NOSTG NOTALLOC NOTAUTH NOTFND NOTOPEN OPENERR OUTDESCERR OUTDESCRERR PARTNERIDERR "
        "PARTNFAIL PGMIDERR QBUSY QIDERR QZERO RDATT RECORDBUSY RETPAGE ROLLEDBACK RTEFAIL RTESOME SELNERR "
        "SESSBUSY SESSIONERR SIGNAL SPOLBUSY SPOLERR STRELERR SUPPRESSED SYMBOLERR SYSBUSY SYSIDERR TEMPLATERR "
        "TERMERR TERMIDERR TRANSIDERR TSIOERR UNEXPIN USERIDERR WRBRK WRONGSTAT";
    for (const std::string& w : Words(cics)) EXPECT_NE(DovFindCicsKeyword(w.c_str()), 0) << w;

    const char* sql =
        "SELECT INTO FROM WHERE GROUP BY HAVING INSERT VALUES UPDATE SET DELETE DECLARE CURSOR TABLE OPEN CLOSE "
        "FETCH WHENEVER CONNECT DISCONNECT ALLOCATE DEALLOCATE DESCRIBE EXECUTE PREPARE GET DESCRIPTOR BEGIN END "
        "SECTION COMMIT ROLLBACK SQLERROR SQLWARNING NOT FOUND GO TO GOTO CONTINUE PERFORM DEFAULT CURRENT ALL AS "
        "USER AUTOCOMMIT ON OFF CONNECTION CATALOG SCHEMA NAMES SESSION AUTHORIZATION CONCURRENCY LOCKCC OPTCC "
        "OPTCCVAL READONLY READ ONLY SCROLLOPTION DYNAMIC FAST FORWARD KEYSET TRANSACTION ISOLATION LEVEL "
        "COMMITTED UNCOMMITTED REPEATABLE SERIALIZABLE DISTINCT NULL PRIMARY KEY UNIQUE CHECK WITH CHARACTER "
        "CHAR VARYING VARCHAR BIT NUMERIC DECIMAL DEC INTEGER INT SMALLINT FLOAT REAL DOUBLE PRECISION DATE TIME "
        "TIMESTAMP INSENSITIVE SCROLL HOLD RETURN ORDER ASC DESC FOR OPTIMIZE ROW ROWS NEXT PRIOR FIRST LAST "
        "ABSOLUTE RELATIVE OF INDICATOR INPUT OUTPUT USING IMMEDIATE COUNT AVG MAX MIN SUM SESSION_USER "
        "SYSTEM_USER CURRENT_USER CURRENT_DATE CURRENT_TIME CURRENT_TIMESTAMP BIT_LENGTH OCTET_LENGTH CHAR_LENGTH "
        "CHARACTER_LENGTH CASE WHEN THEN ELSE CAST CONVERT DATEPART LEFT RIGHT DAY MONTH YEAR LOWER UPPER DATEADD "
        "DATEDIFF REPLACE POSITION IN RAND STR SUBSTRING TRIM LEADING TRAILING BOTH OR AND BETWEEN LIKE IS "
        "EXISTS NATURAL JOIN INNER OUTER UNION CROSS EXCEPT INTERSECT CORRESPONDING VALUE";
    for (const std::string& w : Words(sql)) EXPECT_NE(DovFindSqlKeyword(w.c_str()), 0) << w;
}

// The reserved words of the 1985 standard with its 1989 amendment
// (FUNCTION), and the ones that 1985 added to the 1974 list.
const char* kAnsi85Words =
    "ACCEPT ACCESS ADD ADVANCING AFTER ALL ALPHABET ALPHABETIC ALPHABETIC-LOWER ALPHABETIC-UPPER ALPHANUMERIC "
    "ALPHANUMERIC-EDITED ALSO ALTER ALTERNATE AND ANY ARE AREA AREAS ASCENDING ASSIGN AT AUTHOR BEFORE BINARY "
    "BLANK BLOCK BOTTOM BY CALL CANCEL CD CF CH CHARACTER CHARACTERS CLASS CLOCK-UNITS CLOSE CODE CODE-SET "
    "COLLATING COLUMN COMMA COMMON COMMUNICATION COMP COMPUTATIONAL COMPUTE CONFIGURATION CONTAINS CONTENT "
    "CONTINUE CONTROL CONTROLS CONVERTING COPY CORR CORRESPONDING COUNT CURRENCY DATA DATE DATE-COMPILED "
    "DATE-WRITTEN DAY DAY-OF-WEEK DE DEBUG-CONTENTS DEBUG-ITEM DEBUG-LINE DEBUG-NAME DEBUG-SUB-1 DEBUG-SUB-2 "
    "DEBUG-SUB-3 DEBUGGING DECIMAL-POINT DECLARATIVES DELETE DELIMITED DELIMITER DEPENDING DESCENDING "
    "DESTINATION DETAIL DISABLE DISPLAY DIVIDE DIVISION DOWN DUPLICATES DYNAMIC EGI ELSE EMI ENABLE END END-ADD "
    "END-CALL END-COMPUTE END-DELETE END-DIVIDE END-EVALUATE END-IF END-MULTIPLY END-OF-PAGE END-PERFORM "
    "END-READ END-RECEIVE END-RETURN END-REWRITE END-SEARCH END-START END-STRING END-SUBTRACT END-UNSTRING "
    "END-WRITE ENTER ENVIRONMENT EOP EQUAL ERROR ESI EVALUATE EVERY EXCEPTION EXIT EXTEND EXTERNAL FALSE FD "
    "FILE FILE-CONTROL FILLER FINAL FIRST FOOTING FOR FROM FUNCTION GENERATE GIVING GLOBAL GO GREATER GROUP "
    "HEADING HIGH-VALUE HIGH-VALUES I-O I-O-CONTROL IDENTIFICATION IF IN INDEX INDEXED INDICATE INITIAL "
    "INITIALIZE INITIATE INPUT INPUT-OUTPUT INSPECT INSTALLATION INTO INVALID IS JUST JUSTIFIED KEY LABEL LAST "
    "LEADING LEFT LENGTH LESS LIMIT LIMITS LINAGE LINAGE-COUNTER LINE LINE-COUNTER LINES LINKAGE LOCK "
    "LOW-VALUE LOW-VALUES MEMORY MERGE MESSAGE MODE MODULES MOVE MULTIPLE MULTIPLY NATIVE NEGATIVE NEXT NO "
    "NOT NUMBER NUMERIC NUMERIC-EDITED OBJECT-COMPUTER OCCURS OF OFF OMITTED ON OPEN OPTIONAL OR ORDER "
    "ORGANIZATION OTHER OUTPUT OVERFLOW PACKED-DECIMAL PADDING PAGE PAGE-COUNTER PERFORM PF PH PIC PICTURE "
    "PLUS POINTER POSITION POSITIVE PRINTING PROCEDURE PROCEDURES PROCEED PROGRAM PROGRAM-ID PURGE QUEUE "
    "QUOTE QUOTES RANDOM RD READ RECEIVE RECORD RECORDS REDEFINES REEL REFERENCE REFERENCES RELATIVE RELEASE "
    "REMAINDER REMOVAL RENAMES REPLACE REPLACING REPORT REPORTING REPORTS RERUN RESERVE RESET RETURN REVERSED "
    "REWIND REWRITE RF RH RIGHT ROUNDED RUN SAME SD SEARCH SECTION SECURITY SEGMENT SEGMENT-LIMIT SELECT SEND "
    "SENTENCE SEPARATE SEQUENCE SEQUENTIAL SET SIGN SIZE SORT SORT-MERGE SOURCE SOURCE-COMPUTER SPACE SPACES "
    "SPECIAL-NAMES STANDARD STANDARD-1 STANDARD-2 START STATUS STOP STRING SUB-QUEUE-1 SUB-QUEUE-2 "
    "SUB-QUEUE-3 SUBTRACT SUM SUPPRESS SYMBOLIC SYNC SYNCHRONIZED TABLE TALLYING TAPE TERMINAL TERMINATE TEST "
    "TEXT THAN THEN THROUGH THRU TIME TIMES TO TOP TRAILING TRUE TYPE UNIT UNSTRING UNTIL UP UPON USAGE USE "
    "USING VALUE VALUES VARYING WHEN WITH WORDS WORKING-STORAGE WRITE ZERO ZEROES ZEROS";
const char* kNewIn85 =
    "ALPHABET ALPHABETIC-LOWER ALPHABETIC-UPPER ALPHANUMERIC ALPHANUMERIC-EDITED ANY BINARY CLASS COMMON "
    "CONTENT CONTINUE CONVERTING DAY-OF-WEEK END-ADD END-CALL END-COMPUTE END-DELETE END-DIVIDE END-EVALUATE "
    "END-IF END-MULTIPLY END-PERFORM END-READ END-RECEIVE END-RETURN END-REWRITE END-SEARCH END-START "
    "END-STRING END-SUBTRACT END-UNSTRING END-WRITE EVALUATE EXTERNAL FALSE FUNCTION GLOBAL INITIALIZE "
    "NUMERIC-EDITED ORDER OTHER PACKED-DECIMAL PADDING PURGE REFERENCE REPLACE STANDARD-2 TEST THEN TRUE";

TEST(Keywords, AnsiFlagsFollowTheStandards) {
    std::set<std::string> a85, a74;
    for (const std::string& w : Words(kAnsi85Words)) a85.insert(w);
    a74 = a85;
    for (const std::string& w : Words(kNewIn85)) a74.erase(w);
    for (const KeywordEntry* e = DovKeywordTable; e->word; ++e) {
        SCOPED_TRACE(e->word);
        EXPECT_EQ(Reserved(e->word, Full(kAnsi85)), a85.count(e->word) == 1);
        EXPECT_EQ(Reserved(e->word, Full(1)), a74.count(e->word) == 1);
        // No standard word waits for the extra-keywords switch.
        if (a85.count(e->word)) {
            EXPECT_EQ(e->dials & kDovExtraKeywordBit, 0u);
        }
    }
}

// User-defined names of the conforming NIST programs: data names after a
// level number, paragraph and section names, file and record names. None may
// be a keyword under ANSI-85, or valid programs would not parse.
TEST(Keywords, NistNamesAreNotReservedUnderAnsi85) {
    VEMLO_REQUIRE_CORPUS();
    const std::set<std::string> accepted = vemlo_test::AcceptedNistNames();
    std::vector<std::filesystem::path> files;
    for (const auto& f : vemlo_test::CorpusFiles("nist"))
        if (accepted.count(f.filename().string())) files.push_back(f);
    for (const auto& f : vemlo_test::CorpusFiles("nist-copy")) files.push_back(f);
    ASSERT_FALSE(files.empty());

    const std::set<std::string> headers = {
        "CONFIGURATION", "INPUT-OUTPUT", "FILE", "WORKING-STORAGE", "LINKAGE", "COMMUNICATION", "REPORT",
        "FILE-CONTROL", "I-O-CONTROL", "SOURCE-COMPUTER", "OBJECT-COMPUTER", "SPECIAL-NAMES", "PROGRAM-ID",
        "DECLARATIVES", "AUTHOR", "INSTALLATION", "DATE-WRITTEN", "DATE-COMPILED", "SECURITY"};
    // Clauses that may follow a level number directly (the name is optional).
    const std::set<std::string> clauses = {
        "PIC", "PICTURE", "REDEFINES", "VALUE", "VALUES", "USAGE", "OCCURS", "SYNC", "SYNCHRONIZED", "JUST",
        "JUSTIFIED", "BLANK", "SIGN", "LEADING", "TRAILING", "COMP", "COMPUTATIONAL", "DISPLAY", "INDEX",
        "BINARY", "PACKED-DECIMAL", "EXTERNAL", "GLOBAL", "IS", "FILLER"};
    const std::regex level(R"(^\s*(\d\d?)\s+([A-Z0-9][A-Z0-9-]*))");
    const std::regex area_a(R"(^([A-Z0-9][A-Z0-9-]*)\s*(\.|\s+SECTION\b))");
    const std::regex file_name(R"(^\s*(FD|SD|RD|CD)\s+([A-Z0-9][A-Z0-9-]*))");
    const std::regex select(R"(^\s*SELECT\s+(OPTIONAL\s+)?([A-Z0-9][A-Z0-9-]*))");
    std::set<std::string> names;
    for (const auto& path : files) {
        // Logical lines: a continuation line goes on where its line stopped.
        std::vector<std::string> lines;
        std::ifstream in(path);
        std::string line;
        while (std::getline(in, line)) {
            if (line.size() < 8 || line[6] == '*' || line[6] == '/' || line[6] == 'D') continue;
            std::string body = line.substr(7, 65);
            if (line[6] == '-' && !lines.empty()) {
                std::string& prev = lines.back();
                prev.erase(prev.find_last_not_of(' ') + 1);
                std::size_t from = body.find_first_not_of(' ');
                if (from != std::string::npos) prev += body.substr(from);
                continue;
            }
            lines.push_back(body);
        }
        bool procedure = false;
        bool entry_start = true;  // the line before ended a sentence or entry
        for (const std::string& body : lines) {
            if (body.find("PROCEDURE DIVISION") != std::string::npos) procedure = true;
            std::smatch m;
            bool at_start = entry_start;
            std::size_t last = body.find_last_not_of(' ');
            if (last != std::string::npos) entry_start = body[last] == '.';
            if (!procedure && at_start && std::regex_search(body, m, level)) {
                int n = std::stoi(m[1]);
                if (((n >= 1 && n <= 49) || n == 66 || n == 77 || n == 88) && !clauses.count(m[2]))
                    names.insert(m[2]);
            }
            if (body[0] != ' ' && std::regex_search(body, m, area_a) && !headers.count(m[1])) names.insert(m[1]);
            if (std::regex_search(body, m, file_name)) names.insert(m[2]);
            if (std::regex_search(body, m, select)) names.insert(m[2]);
        }
    }
    EXPECT_GT(names.size(), 1000u);
    for (const std::string& name : names) EXPECT_FALSE(Reserved(name.c_str(), Full(kAnsi85))) << name;
}

}  // namespace
