#include "TableExport.h"

#include <vector>

#include "TableColumns.h"
#include "core/CodePage.h"

namespace {

std::string SoundField(std::string_view wavFile) { return wavFile == " " ? std::string() : std::string(wavFile); }

}  // namespace

bool ExportTable(const TLangFHandler& handler, TTableFormat format, std::string& out, std::string& error) {
  TTableProblem problem;
  if (ExportTable(handler, format, out, problem)) return true;
  error = EnglishReason(problem);
  return false;
}

bool ExportTable(const TLangFHandler& handler, TTableFormat format, std::string& out, TTableProblem& error) {
  std::vector<std::string> fields(kTableColumns.begin(), kTableColumns.end());
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
                std::string(pear->Word1),
                std::string(pear->Word2),
                SoundField(pear->WavFile1),
                SoundField(pear->WavFile2)};
      for (std::size_t f = kColWord1; f < fields.size(); ++f) {
        if (!TableFieldFits(fields[f], format)) {
          error = {TTableReason::ExportTab,
                   {std::to_string(lesson->LessonNbr), std::to_string(pear->PearNbr), std::string(kTableColumns[f])}};
          return false;
        }
      }
      out += FormatTableRow(fields, format);
    }
  }
  return true;
}
