// The attribute groups of objects and data items: `ATRIBUTY ( NAME NAME ... )`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "library/definition_reader.h"

namespace lm {

struct AttributeName {
    std::string_view name;
    std::uint32_t value;
};

// Reads a group: the tokens up to the first `(` are skipped; then each token
// up to `)` that is one of `names` adds its value to the attribute word
// (unknown names are ignored; a name listed twice adds twice). The word
// starts at 0. When the input ends before `(` or before `)` the error text
// gets `routine` + ": Nenalezena pocatecni zavorka skupiny - "("" or
// `routine` + ": Nenalezena koncova zavorka skupiny - ")"" and the result is
// false.
bool ReadAttributeGroup(TextSource& source, std::span<const AttributeName> names,
                        std::string_view routine, std::string& error, std::size_t error_limit,
                        std::uint32_t& attributes);

}  // namespace lm
