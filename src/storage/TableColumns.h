#pragma once
#include <array>
#include <string_view>

// The columns of a table of phrase pairs, in the order export writes them.
enum TTableColumn { kColLesson, kColPair, kColUse, kColDrawn, kColWord1, kColWord2, kColWav1, kColWav2, kColCount };

constexpr std::array<std::string_view, kColCount> kTableColumns = {"lesson", "pair",  "use",  "drawn",
                                                                   "word1",  "word2", "wav1", "wav2"};
