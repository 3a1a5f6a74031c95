#include "HistoryFile.h"

#include <charconv>
#include <cstdio>
#include <functional>
#include <string_view>
#include <system_error>

#include "AppendFile.h"
#include "FileUtil.h"
#include "core/Errors.h"

namespace fs = std::filesystem;

namespace {
// Longer lines are no history lines; they are skipped without being held.
constexpr std::size_t kMaxLine = 64 * 1024;
constexpr long kMaxCount = 1000000000L;

std::string Escaped(const std::string& name) {
  std::string out;
  out.reserve(name.size());
  for (const char c : name) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

bool Unescaped(std::string_view text, std::string& name) {
  name.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      if (text[i] == '\t' || text[i] == '\r') return false;
      name += text[i];
      continue;
    }
    if (++i == text.size()) return false;
    switch (text[i]) {
      case '\\': name += '\\'; break;
      case 't': name += '\t'; break;
      case 'n': name += '\n'; break;
      case 'r': name += '\r'; break;
      default: return false;
    }
  }
  return !name.empty();
}

bool Digits(std::string_view text, std::size_t from, std::size_t count) {
  for (std::size_t i = from; i < from + count; ++i)
    if (text[i] < '0' || text[i] > '9') return false;
  return true;
}

bool IsDate(std::string_view text) {
  return text.size() == 10 && Digits(text, 0, 4) && text[4] == '-' && Digits(text, 5, 2) && text[7] == '-' &&
         Digits(text, 8, 2);
}

bool IsDateTime(std::string_view text) {
  return text.size() == 19 && IsDate(text.substr(0, 10)) && text[10] == ' ' && Digits(text, 11, 2) &&
         text[13] == ':' && Digits(text, 14, 2) && text[16] == ':' && Digits(text, 17, 2);
}

bool Number(std::string_view text, long low, long high, long& value) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

// One line of the history, read.
struct TLine {
  bool Day = false;
  std::string Date;  // "2026-12-11"
  std::string File;
  long Lesson = 0, Pair = 0, Priority = 0;
  TTypedVerdict Typed = TTypedVerdict::None;
  THistoryDay Totals;
};

bool ParseLine(std::string_view line, TLine& out) {
  std::string_view fields[6];
  for (int i = 0; i < 5; ++i) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return false;
    fields[i] = line.substr(0, tab);
    line.remove_prefix(tab + 1);
  }
  fields[5] = line;
  if (!Unescaped(fields[5], out.File)) return false;
  if (fields[1] == "day") {
    out.Day = true;
    if (!IsDate(fields[0])) return false;
    out.Date = std::string(fields[0]);
    return Number(fields[2], 0, kMaxCount, out.Totals.Pairs) && Number(fields[3], 0, kMaxCount, out.Totals.Right) &&
           Number(fields[4], 0, kMaxCount, out.Totals.Wrong) && out.Totals.Right + out.Totals.Wrong <= out.Totals.Pairs;
  }
  out.Day = false;
  if (!IsDateTime(fields[0])) return false;
  out.Date = std::string(fields[0].substr(0, 10));
  if (fields[4] == "right")
    out.Typed = TTypedVerdict::Right;
  else if (fields[4] == "wrong")
    out.Typed = TTypedVerdict::Wrong;
  else if (fields[4] == "-")
    out.Typed = TTypedVerdict::None;
  else
    return false;
  return Number(fields[1], 0, kMaxCount, out.Lesson) && Number(fields[2], 0, kMaxCount, out.Pair) &&
         Number(fields[3], 0, 9, out.Priority);
}

THistoryDay DayOf(const TLine& line) {
  if (line.Day) return line.Totals;
  return THistoryDay{1, line.Typed == TTypedVerdict::Right ? 1L : 0L, line.Typed == TTypedVerdict::Wrong ? 1L : 0L};
}

void Add(THistoryDay& to, const THistoryDay& day) {
  to.Pairs += day.Pairs;
  to.Right += day.Right;
  to.Wrong += day.Wrong;
}

// Calls onLine for every line of the file (without its line break); lines
// longer than kMaxLine come as one empty view flagged overlong. False with
// error set when the file exists but cannot be read.
bool EachLine(const fs::path& path, const std::function<void(std::string_view, bool overlong)>& onLine,
              std::string& error) {
  std::string line;
  bool overlong = false;
  try {
    ReadFileBlocks(path.string(), [&](const uint8_t* data, std::size_t size) {
      const std::string_view chunk(reinterpret_cast<const char*>(data), size);
      std::size_t from = 0;
      while (from < chunk.size()) {
        const std::size_t end = chunk.find('\n', from);
        const std::string_view piece = chunk.substr(from, end == std::string_view::npos ? end : end - from);
        if (!overlong) {
          if (line.size() + piece.size() > kMaxLine) {
            overlong = true;
            line.clear();
          } else {
            line.append(piece);
          }
        }
        if (end == std::string_view::npos) break;
        onLine(line, overlong);
        line.clear();
        overlong = false;
        from = end + 1;
      }
    });
  } catch (const TFileIoError& e) {
    error = e.File() + ": " + e.Reason();
    return false;
  }
  if (!line.empty() || overlong) onLine(line, overlong);
  return true;
}

bool Ignorable(std::string_view line) { return line.empty() || line.front() == '#'; }
}  // namespace

std::string HistoryFileKey(const std::string& langFile) {
  std::error_code ec;
  fs::path path = fs::weakly_canonical(fs::absolute(fs::path(langFile), ec), ec);
  if (ec) path = fs::absolute(fs::path(langFile), ec).lexically_normal();
  return path.string();
}

std::string HistoryDate(std::time_t time) { return HistoryDateTime(time).substr(0, 10); }

std::string HistoryDateTime(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

std::string HistoryLines(const std::string& langFile, const std::vector<TPractisedPair>& pairs) {
  const std::string file = Escaped(langFile);
  std::string out;
  for (const TPractisedPair& p : pairs) {
    const char* typed = p.Typed == TTypedVerdict::Right ? "right" : p.Typed == TTypedVerdict::Wrong ? "wrong" : "-";
    out += HistoryDateTime(p.Time) + '\t' + std::to_string(p.Lesson) + '\t' + std::to_string(p.Pair) + '\t' +
           std::to_string(p.Priority) + '\t' + typed + '\t' + file + '\n';
  }
  return out;
}

THistorySummary ReadHistory(const fs::path& history, const std::string& langFile) {
  THistorySummary summary;
  TLine line;
  EachLine(
      history,
      [&](std::string_view text, bool overlong) {
        if (!overlong && Ignorable(text)) return;
        if (overlong || !ParseLine(text, line)) {
          ++summary.Skipped;
          return;
        }
        if (line.File != langFile) return;
        const THistoryDay day = DayOf(line);
        Add(summary.Days[line.Date], day);
        summary.Right += day.Right;
        summary.Wrong += day.Wrong;
      },
      summary.Error);
  return summary;
}

TSaveResult FoldHistory(const fs::path& history, const std::string& keepFrom, bool* folded) {
  if (folded) *folded = false;
  std::map<std::pair<std::string, std::string>, THistoryDay> days;
  std::string kept;
  bool change = false;
  TLine line;
  std::string error;
  const bool read = EachLine(
      history,
      [&](std::string_view text, bool overlong) {
        if (!overlong && Ignorable(text)) {
          kept.append(text).append("\n");
          return;
        }
        if (overlong || !ParseLine(text, line)) {
          change = true;
          return;
        }
        if (line.Date >= keepFrom) {
          kept.append(text).append("\n");
          return;
        }
        // Old pair lines are what folding removes; old day lines pass
        // through, summed with pair lines of their day if there are any.
        if (!line.Day) change = true;
        Add(days[{line.Date, line.File}], DayOf(line));
      },
      error);
  if (!read) {
    TSaveResult result;
    result.Fault = TSaveFault::System;
    result.Step = "read";
    result.Reason = error;
    return result;
  }
  if (!change) return {};
  std::string out;
  for (const auto& [key, day] : days)
    out += key.first + "\tday\t" + std::to_string(day.Pairs) + '\t' + std::to_string(day.Right) + '\t' +
           std::to_string(day.Wrong) + '\t' + Escaped(key.second) + '\n';
  out += kept;
  TSaveResult result = SaveFileDurably(history, reinterpret_cast<const uint8_t*>(out.data()), out.size(), true);
  if (result.Ok() && folded) *folded = true;
  return result;
}

TSaveResult THistoryFile::Append(const std::string& langFile, const std::vector<TPractisedPair>& pairs,
                                 std::time_t now) {
  if (pairs.empty()) return {};
  if (!foldTried_) {
    foldTried_ = true;
    FoldHistory(path_, HistoryDate(now - 365L * 24 * 60 * 60));
  }
  const std::string lines = HistoryLines(langFile, pairs);
  return AppendFileDurably(path_, reinterpret_cast<const uint8_t*>(lines.data()), lines.size());
}
