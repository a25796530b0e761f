#include "lexer/keywords.h"

#include <atomic>
#include <cstring>
#include <vector>

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

namespace {

// The reserved-word table indexed once: an open-addressing hash table of the
// first record of each word, probed by the word's bytes and length.
class KeywordIndex {
public:
    KeywordIndex() {
        std::size_t count = 0;
        for (KeywordEntry* e = DovKeywordTable; e->word; ++e) ++count;
        std::size_t size = 16;
        while (size < count * 4) size *= 2;
        slots_.assign(size, Slot{});
        mask_ = size - 1;
        for (KeywordEntry* e = DovKeywordTable; e->word; ++e) {
            const std::size_t len = std::strlen(e->word);
            std::size_t i = Hash(e->word, len) & mask_;
            bool present = false;
            for (; slots_[i].entry; i = (i + 1) & mask_)
                if (slots_[i].len == len && std::memcmp(slots_[i].entry->word, e->word, len) == 0) {
                    present = true;
                    break;
                }
            if (!present) slots_[i] = Slot{e, len};
        }
    }

    KeywordEntry* Find(const char* word, std::size_t len) const {
        for (std::size_t i = Hash(word, len) & mask_; slots_[i].entry; i = (i + 1) & mask_)
            if (slots_[i].len == len && std::memcmp(slots_[i].entry->word, word, len) == 0) return slots_[i].entry;
        return nullptr;
    }

private:
    struct Slot {
        KeywordEntry* entry = nullptr;
        std::size_t len = 0;
    };
    // The length and the bytes at both ends, read a word at a time (the
    // two reads overlap in short words): no loop over the characters.
    static std::size_t Hash(const char* p, std::size_t len) {
        std::uint64_t a, b;
        if (len >= 8) {
            std::memcpy(&a, p, 8);
            std::memcpy(&b, p + len - 8, 8);
        } else if (len >= 4) {
            std::uint32_t x, y;
            std::memcpy(&x, p, 4);
            std::memcpy(&y, p + len - 4, 4);
            a = x;
            b = y;
        } else if (len > 0) {
            a = static_cast<unsigned char>(p[0]) | static_cast<unsigned>(static_cast<unsigned char>(p[len / 2])) << 8 |
                static_cast<unsigned>(static_cast<unsigned char>(p[len - 1])) << 16;
            b = 0;
        } else {
            a = b = 0;
        }
        std::uint64_t h = (a * 0x9e3779b97f4a7c15ull) ^ (b * 0xc2b2ae3d27d4eb4full) ^ (len * 0x165667b19e3779f9ull);
        h ^= h >> 29;
        h *= 0xbf58476d1ce4e5b9ull;
        return static_cast<std::size_t>(h ^ (h >> 32));
    }
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
};

const KeywordIndex& BuildIndex() {
    static const KeywordIndex index;
    return index;
}

// Every word of every source asks for the index: after the first time it
// costs one load.
std::atomic<const KeywordIndex*> builtIndex{nullptr};

inline const KeywordIndex& Index() {
    const KeywordIndex* index = builtIndex.load(std::memory_order_acquire);
    if (!index) {
        index = &BuildIndex();
        builtIndex.store(index, std::memory_order_release);
    }
    return *index;
}

KeywordEntry* FindKeyword(const char* word, std::size_t len, KeywordEntry* table) {
    if (!word || !table) return nullptr;
    // Every word of every source goes through here.
    if (table == DovKeywordTable) return Index().Find(word, len);
    for (KeywordEntry* e = table; e->word; ++e)
        if (std::strcmp(e->word, word) == 0) return e;
    return nullptr;
}

}  // namespace

KeywordEntry* FindKeyword(const char* word, KeywordEntry* table) {
    return FindKeyword(word, word ? std::strlen(word) : 0, table);
}

KeywordEntry* FindKeyword(const VString& word, KeywordEntry* table) {
    // A word with a NUL inside cannot equal any keyword.
    const std::size_t len = static_cast<std::size_t>(word.Len());
    if (std::memchr(word.CStr(), '\0', len)) return nullptr;
    return FindKeyword(word.CStr(), len, table);
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
    // Straight to the index: a word with a NUL inside matches no entry
    // there, since the comparison takes the whole length.
    const KeywordEntry* e = Index().Find(word.CStr(), static_cast<std::size_t>(word.Len()));
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
