#pragma once

#include "lottery/list_import.h"

#include <string>
#include <vector>

namespace lottery {

// What the first rows of a sheet suggest, for the import dialog to start from.
struct ImportGuess {
    ImportOptions options;
    int nameColumn = 0; // from 1; 0 when none was found
    int idColumn = 0;
};

// Row 1 is a header when a cell names a column (姓名, 工号, name, id ...) or when the
// rows below hold codes where it holds a word. Names are the column headed so, else the
// column of short Chinese (or Latin) words with the most different values; ids the column
// headed so, else one of digits and codes, a plain row count 1, 2, 3 ... only when there is
// no other. The entry is the name followed by the id, so that namesakes stay two people.
// Cells are UTF-8.
ImportGuess guessImport(const std::vector<std::vector<std::string>>& rows);

} // namespace lottery
