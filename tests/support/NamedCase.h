// SPDX-License-Identifier: MIT
#pragma once
// A row of a parameterised test table, shown by its name in GoogleTest's messages. A table's row
// type derives from it, and its first initialiser is the name: {"EmptyText", ...}.

#include <concepts>
#include <ostream>

namespace quillmark::support {

struct NamedCase {
    const char* name;
};

// Found through the base class, and chosen over GoogleTest's own printer as the more constrained.
template <std::derived_from<NamedCase> Case>
void PrintTo(const Case& row, std::ostream* os) {
    *os << row.name;
}

}  // namespace quillmark::support
