#include "library/attribute_group.h"

#include "library/texts.h"

namespace lm {

bool ReadAttributeGroup(TextSource& source, std::span<const AttributeName> names,
                        std::string_view routine, std::string& error, std::size_t error_limit,
                        std::uint32_t& attributes) {
    attributes = 0;
    std::string token;
    do {
        token = READ_TOKEN(source);
    } while (!token.empty() && token != "(");
    if (token.empty()) {
        SetErrorText(error, error_limit,
                     Concat({routine, ": Nenalezena pocatecni zavorka skupiny - \"(\""}));
        return false;
    }
    while (true) {
        token = READ_TOKEN(source);
        if (token.empty()) {
            SetErrorText(error, error_limit,
                         Concat({routine, ": Nenalezena koncova zavorka skupiny - \")\""}));
            return false;
        }
        if (token == ")") return true;
        for (const AttributeName& known : names) {
            if (token == known.name) attributes += known.value;  // wraps like the 32-bit word it is
        }
    }
}

}  // namespace lm
