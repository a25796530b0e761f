#include "lexer/keywords.h"

#include <cstring>
#include <string_view>
#include <unordered_map>

#include "tree/token_codes.h"

namespace {

// Bits 1 to 25 hold the dialect fields; the SAA field is bits 6 and 7.
constexpr std::uint32_t kDialectBits = 0x03fffffeu;
constexpr std::uint32_t kSaaField = 0xc0u;
constexpr std::uint32_t kSaaLow = 0x40u;

// Binary search in a name table kept in byte order.
int FindInTable(const char* const* names, int count, int first_code, const VString& word) {
    if (word.IsEmpty() || std::strlen(word.CStr()) != static_cast<std::size_t>(word.Len())) return 0;
    int lo = 0, hi = count - 1;
    while (lo <= hi) {
        int mid = lo + (hi - lo) / 2;
        int cmp = std::strcmp(word.CStr(), names[mid]);
        if (cmp == 0) return first_code + mid;
        if (cmp < 0)
            hi = mid - 1;
        else
            lo = mid + 1;
    }
    return 0;
}

}  // namespace

KeywordEntry* FindKeyword(const char* word, KeywordEntry* table) {
    if (!word || !table) return nullptr;
    if (table == DovKeywordTable) {
        // Every word of every source goes through here: the reserved-word
        // table is indexed once, keeping the first record of each word.
        static const std::unordered_map<std::string_view, KeywordEntry*> index = [] {
            std::unordered_map<std::string_view, KeywordEntry*> map;
            for (KeywordEntry* e = DovKeywordTable; e->word; ++e) map.emplace(e->word, e);
            return map;
        }();
        auto found = index.find(word);
        return found == index.end() ? nullptr : found->second;
    }
    for (KeywordEntry* e = table; e->word; ++e)
        if (std::strcmp(e->word, word) == 0) return e;
    return nullptr;
}

KeywordEntry* FindKeyword(const VString& word, KeywordEntry* table) {
    // A word with a NUL inside cannot equal any keyword.
    if (std::strlen(word.CStr()) != static_cast<std::size_t>(word.Len())) return nullptr;
    return FindKeyword(word.CStr(), table);
}

bool DovKeywordIsReserved(const KeywordEntry& entry, std::uint32_t dials, bool extra_keywords) {
    if ((entry.dials & kDovExtraKeywordBit) && !extra_keywords) return false;
    if (dials & entry.dials & kDialectBits & ~kSaaField) return true;
    // The SAA field of a full dialect set has both bits: it must still find
    // the words of level 1, or SAA alone would reserve nothing.
    return (dials & kSaaLow) && (entry.dials & kSaaField) == kSaaLow;
}

const KeywordEntry* DovReservedKeyword(const VString& word, std::uint32_t dials, bool check_on,
                                       bool extra_keywords) {
    if (!check_on) return nullptr;
    const KeywordEntry* e = FindKeyword(word);
    if (!e || !DovKeywordIsReserved(*e, dials, extra_keywords)) return nullptr;
    return e;
}

int DovFindSqlKeyword(const VString& word) {
    return FindInTable(DovSqlKeywordNames, kDovSqlKeywordLast - kDovSqlKeywordFirst + 1, kDovSqlKeywordFirst,
                       word);
}

int DovFindCicsKeyword(const VString& word) {
    return FindInTable(DovCicsKeywordNames, kDovCicsKeywordLast - kDovCicsKeywordFirst + 1, kDovCicsKeywordFirst,
                       word);
}
