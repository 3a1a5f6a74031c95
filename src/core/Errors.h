#pragma once
#include <stdexcept>
#include <string>

// A number in a file or field that does not read as an integer. Readers add
// the file, the 1-based line number and the line, so a window can say where.
class TConversionError : public std::runtime_error {
 public:
  explicit TConversionError(const std::string& text);
  // A number that reads as an integer but can't be taken, with the reason.
  TConversionError(const std::string& text, const std::string& reason);

  const std::string& Text() const { return text_; }
  const std::string& File() const { return file_; }
  int LineNbr() const { return lineNbr_; }
  const std::string& Line() const { return line_; }

  void SetPlace(const std::string& file, int lineNbr, const std::string& line);
  // "file, line N: reason" when the place is known, else the reason.
  std::string Describe() const;

 private:
  std::string text_;
  std::string file_;
  int lineNbr_ = 0;
  std::string line_;
};

// An input/output error on a file that exists: names the file and the
// system's reason.
class TFileIoError : public std::runtime_error {
 public:
  TFileIoError(const std::string& file, const std::string& reason);
  const std::string& File() const { return file_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::string file_;
  std::string reason_;
};
