// Writes a described store as a Unicode PST: message store, named-property map, root folder,
// IPM subtree with the recipe's folders, their hierarchy and contents tables, and every message
// with its recipients and attachments. Same Store, same bytes.
#pragma once

#include <string>

#include "PstRecipe.h"

namespace pstbuilder {

// Throws std::runtime_error when the file cannot be written, std::invalid_argument for a store
// the format cannot hold (more folders or messages than node ids can number, a table of more than
// 255 columns).
void WritePst(const Store& store, const std::string& path);

}  // namespace pstbuilder
