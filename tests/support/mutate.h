// One round of random damage for the fuzz tests: 1 to 8 edits, each
// replacing, inserting (a character of alphabet) or erasing up to 20
// characters at a random place. The same generator state gives the same damage.
#pragma once

#include <cstddef>
#include <random>
#include <string>
#include <string_view>

namespace vemlo_test {

inline void MutateText(std::string& text, std::mt19937& random, std::string_view alphabet) {
    const int edits = 1 + static_cast<int>(random() % 8);
    for (int e = 0; e < edits && !text.empty(); ++e) {
        const std::size_t at = random() % text.size();
        const char c = alphabet[random() % alphabet.size()];
        switch (random() % 3) {
            case 0: text[at] = c; break;
            case 1: text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), c); break;
            default: text.erase(at, 1 + random() % 20); break;
        }
    }
}

}  // namespace vemlo_test
