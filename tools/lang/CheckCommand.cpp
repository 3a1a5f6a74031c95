#include "CheckCommand.h"

#include <filesystem>
#include <map>
#include <vector>

#include "storage/FileUtil.h"
#include "storage/LangFHandler.h"
#include "storage/SoundCheck.h"

namespace fs = std::filesystem;

namespace {
constexpr std::string_view kDataMark = "/LangFiles/";

bool HasSound(std::string_view name) { return name.find_first_not_of(' ') != std::string_view::npos; }

struct TSide {
  int32_t Lesson, Pair;
  int Side;
  std::string Name, Path;
};
}  // namespace

std::string ResolveSoundPath(const std::string& name, const std::string& langFile) {
  const fs::path folder = NativePath(langFile).parent_path();
  if (!name.empty() && name[0] == '\\') {
    // The program names its sounds relative to its own folder, the one that
    // holds LangFiles; without such a folder, beside the language file.
    const std::size_t at = langFile.rfind(kDataMark);
    if (at != std::string::npos) return NativePath(langFile.substr(0, at) + name).native();
    return (folder / NativePath(name.substr(1))).native();
  }
  const fs::path path = NativePath(name);
  return path.is_absolute() ? path.native() : (folder / path).native();
}

TCheckOutcome CheckSounds(const TLangFHandler& handler, const std::string& langFile, const std::set<int32_t>& lessons,
                          std::ostream& out) {
  std::vector<TSide> sides;
  for (const auto& lesson : handler.Lessons.Items()) {
    if (!lesson || (!lessons.empty() && lessons.count(lesson->LessonNbr) == 0)) continue;
    for (int32_t p = 0; p < lesson->SlotCount(); ++p) {
      const auto pear = lesson->GetPear(p);
      if (!pear) continue;
      for (int side = 0; side < 2; ++side) {
        const std::string name(side == 0 ? pear->WavFile1 : pear->WavFile2);
        if (!HasSound(name)) continue;
        sides.push_back({lesson->LessonNbr, p, side + 1, name, ResolveSoundPath(name, langFile)});
      }
    }
  }
  // A sound named by many pairs is read once.
  std::map<std::string, TSoundMeasure> measured;
  for (const TSide& side : sides)
    if (measured.count(side.Path) == 0) measured.emplace(side.Path, MeasureWaveFile(side.Path));
  std::vector<TSoundMeasure> all;
  all.reserve(measured.size());
  for (const auto& [path, measure] : measured) all.push_back(measure);
  const double median = MedianLoudness(all);

  TCheckOutcome outcome;
  outcome.Checked = static_cast<int>(sides.size());
  for (const TSide& side : sides) {
    const TSoundMeasure& measure = measured.at(side.Path);
    for (const TSoundFault fault : JudgeSound(measure, median)) {
      ++outcome.Faults;
      out << "lesson " << side.Lesson << ", pair " << side.Pair << ", side " << side.Side << ": " << side.Name << ": "
          << DescribeFault(fault, measure, median) << "\n";
    }
  }
  out << "Checked " << outcome.Checked << (outcome.Checked == 1 ? " sound" : " sounds") << ", found " << outcome.Faults
      << (outcome.Faults == 1 ? " fault" : " faults") << ".\n";
  return outcome;
}
