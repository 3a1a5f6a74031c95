#include "TableExport.h"

#include <vector>

#include "storage/CodePage.h"

const char* const kTableHeader[8] = {"lesson", "pair", "use", "drawn", "word1", "word2", "wav1", "wav2"};

namespace {

std::string SoundField(const std::string& wavFile) { return wavFile == " " ? std::string() : Cp1252ToUtf8(wavFile); }

}  // namespace

bool ExportTable(const TLangFHandler& handler, TTableFormat format, std::string& out, std::string& error) {
  std::vector<std::string> fields(std::begin(kTableHeader), std::end(kTableHeader));
  out = FormatTableRow(fields, format);
  for (int32_t l = 0; l < handler.LessonSlotCount(); ++l) {
    const auto lesson = handler.GetLesson(l);
    if (!lesson) continue;
    for (int32_t p = 0; p < lesson->SlotCount(); ++p) {
      const auto pear = lesson->GetPear(p);
      if (!pear) continue;
      fields = {std::to_string(lesson->LessonNbr),
                std::to_string(pear->PearNbr),
                pear->InUse ? "1" : "0",
                pear->InUse && pear->Drawn ? "1" : "0",
                Cp1252ToUtf8(pear->Word1),
                Cp1252ToUtf8(pear->Word2),
                SoundField(pear->WavFile1),
                SoundField(pear->WavFile2)};
      for (std::size_t f = 4; f < fields.size(); ++f) {
        if (!TableFieldFits(fields[f], format)) {
          error = "lesson " + std::to_string(lesson->LessonNbr) + ", pair " + std::to_string(pear->PearNbr) + ": " +
                  kTableHeader[f] + " contains a tab, which a tab-separated table cannot carry; export with --csv";
          return false;
        }
      }
      out += FormatTableRow(fields, format);
    }
  }
  return true;
}
