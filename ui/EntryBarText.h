#pragma once
// The texts of the entry bar under the list: name, type letter, category,
// file name and folder of the current entry.
#include <string>
#include <vector>

namespace sc {

class TextureEntry;

// Five parts for a named entry; file name and folder for a file's unnamed
// entry; one empty part without an entry. The folder loses its trailing
// separator and reads "?" when the file has none.
std::vector<std::string> EntryBarParts(const TextureEntry* entry);

}  // namespace sc
