// Reads arbitrary bytes as a definition file with every kind of reader. The
// first byte picks the order in which the readers are used, so each of them
// meets every position of the input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "library/definition_reader.h"
#include "library/new_text.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

bool HasDelimiter(const std::string& word) {
    return word.find_first_of(" \t\r\n") != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    unsigned schedule = data[0];
    lm::TextSource source{std::string(reinterpret_cast<const char*>(data + 1), size - 1)};
    // Every call consumes at least one word unless the input is at its end,
    // so the loop ends; the bound is a second guard.
    for (std::size_t step = 0; step <= size && !source.Eof(); ++step) {
        bool ok = false;
        switch (schedule % 7) {
            case 0: {
                const std::string word = lm::READ_WORD(source, schedule % 300);
                Check(word.size() <= 255 && !HasDelimiter(word));
                break;
            }
            case 1: {
                const std::string token = lm::READ_TOKEN(source);
                Check(token.size() <= 255 && !HasDelimiter(token));
                Check(token.empty() || (token.front() != '{' && token.back() != '}'));
                break;
            }
            case 2:
                Check(lm::READ_INT(source, ok) == 0 || ok);
                break;
            case 3:
                lm::READ_CARDINAL(source, ok);
                break;
            case 4: {
                const double value = lm::READ_REAL(source, ok);
                Check(value == 0.0 || (ok && value == value && value < 1.8e38 && value > -1.8e38));
                break;
            }
            case 5: {
                const std::string text = lm::READ_STRING(source, ok);
                Check(text.size() <= 255 && (ok || text.empty()));
                Check(text.find_first_of("\t\r\n") == std::string::npos);
                const auto copy = lm::NEW_TEXT(text, schedule % 90);
                Check(copy != nullptr && std::string(copy.get()).size() <= text.size());
                break;
            }
            default:
                source.NextWord();
                break;
        }
        schedule = schedule * 31 + 7;
    }
    return 0;
}
