#include "TableFormat.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Walks the text once, counting lines, so every row knows where it started.
class TTableReader {
 public:
  TTableReader(std::string_view text, std::vector<TTableRow>& rows, TTableError& error)
      : text_(text), rows_(rows), error_(error) {
    if (text_.substr(0, kByteOrderMark.size()) == kByteOrderMark) text_.remove_prefix(kByteOrderMark.size());
  }

  bool ReadTsv() {
    while (pos_ < text_.size()) {
      TTableRow row = StartRow();
      std::string field;
      for (;;) {
        if (pos_ >= text_.size()) break;
        const char c = text_[pos_];
        if (c == '\t') {
          row.Fields.push_back(std::move(field));
          field.clear();
          ++pos_;
        } else if (AtLineEnd()) {
          SkipLineEnd();
          break;
        } else {
          field += c;
          ++pos_;
        }
      }
      row.Fields.push_back(std::move(field));
      rows_.push_back(std::move(row));
    }
    return true;
  }

  bool ReadCsv() {
    while (pos_ < text_.size()) {
      TTableRow row = StartRow();
      for (;;) {
        std::string field;
        if (pos_ < text_.size() && text_[pos_] == '"') {
          if (!ReadQuoted(row.Place, field)) return false;
        } else {
          while (pos_ < text_.size() && text_[pos_] != ',' && !AtLineEnd()) {
            if (text_[pos_] == '"') return Fail(row.Place, TTableReason::CsvStrayQuote);
            field += text_[pos_++];
          }
        }
        row.Fields.push_back(std::move(field));
        if (pos_ >= text_.size()) break;
        if (text_[pos_] == ',') {
          ++pos_;
          continue;
        }
        if (AtLineEnd()) {
          SkipLineEnd();
          break;
        }
        return Fail(row.Place, TTableReason::CsvTextAfterQuote);
      }
      rows_.push_back(std::move(row));
    }
    return true;
  }

 private:
  TTableRow StartRow() {
    TTableRow row;
    row.Place.RowNbr = static_cast<int>(rows_.size()) + 1;
    row.Place.LineNbr = line_;
    return row;
  }

  bool AtLineEnd() const {
    if (text_[pos_] == '\n') return true;
    return text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n';
  }

  void SkipLineEnd() {
    pos_ += text_[pos_] == '\r' ? 2 : 1;
    ++line_;
  }

  // After the opening quote: up to the closing one, "" standing for one quote.
  bool ReadQuoted(const TTablePlace& place, std::string& field) {
    ++pos_;
    for (;;) {
      if (pos_ >= text_.size()) return Fail(place, TTableReason::CsvOpenQuote);
      const char c = text_[pos_];
      if (c == '"') {
        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
          field += '"';
          pos_ += 2;
          continue;
        }
        ++pos_;
        return true;
      }
      if (c == '\n') ++line_;
      field += c;
      ++pos_;
    }
  }

  bool Fail(const TTablePlace& place, TTableReason reason) {
    error_ = TTableError::At(place, {reason, {}});
    return false;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  std::vector<TTableRow>& rows_;
  TTableError& error_;
};

bool NeedsQuotes(std::string_view field) {
  if (field.find_first_of(",\"\r\n") != std::string_view::npos) return true;
  return !field.empty() && (field.front() == ' ' || field.back() == ' ');
}

}  // namespace

TTableError TTableError::At(const TTablePlace& place, TTableProblem problem) {
  TTableError error;
  error.Place = place;
  error.Reason = EnglishReason(problem);
  error.Problem = std::move(problem);
  return error;
}

std::string TTableError::Describe() const {
  if (Place.RowNbr <= 0) return Reason;
  std::string where = "row " + std::to_string(Place.RowNbr);
  if (Place.LineNbr > 0 && Place.LineNbr != Place.RowNbr) where += " (line " + std::to_string(Place.LineNbr) + ")";
  return where + ": " + Reason;
}

bool ParseTable(std::string_view text, TTableFormat format, std::vector<TTableRow>& rows, TTableError& error) {
  rows.clear();
  TTableReader reader(text, rows, error);
  return format == TTableFormat::Csv ? reader.ReadCsv() : reader.ReadTsv();
}

bool TableFieldFits(std::string_view field, TTableFormat format) {
  return format == TTableFormat::Csv || field.find_first_of("\t\r\n") == std::string_view::npos;
}

std::string FormatTableRow(const std::vector<std::string>& fields, TTableFormat format) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string& field = fields[i];
    if (format == TTableFormat::Tsv) {
      if (i > 0) line += '\t';
      line += field;
      continue;
    }
    if (i > 0) line += ',';
    if (!NeedsQuotes(field)) {
      line += field;
      continue;
    }
    line += '"';
    for (const char c : field) {
      if (c == '"') line += '"';
      line += c;
    }
    line += '"';
  }
  line += format == TTableFormat::Tsv ? "\n" : "\r\n";
  return line;
}
