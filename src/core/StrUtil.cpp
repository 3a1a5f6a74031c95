#include "StrUtil.h"

#include <QCollator>
#include <QLocale>

#include "CodePage.h"
#include "StrVector.h"

int CompareFrom(std::string_view a, std::string_view b, int start, int count) {
  if (start < 0 || count < 0) return 0;
  const auto s = static_cast<std::size_t>(start);
  if (s >= a.size() || s >= b.size() || (count != 0 && start >= count)) return 0;
  std::size_t i = s;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  const bool noDifference = i == a.size() || i == b.size();
  if (noDifference && a.size() == b.size()) return -1;
  const auto equal = static_cast<int>(i - s);
  if (count > 0 && equal == count) return -1;
  return equal;
}

int CompareFromNoCase(std::string_view a, std::string_view b, int start, int count) {
  if (IsAscii(a) && IsAscii(b)) return CompareFrom(UpperCase(a), UpperCase(b), start, count);
  // Case folding of any script: "Я" and "я", "Σ" and "σ"/"ς" are one letter.
  const std::string foldedA = Utf8ToQString(a).toCaseFolded().toStdString();
  const std::string foldedB = Utf8ToQString(b).toCaseFolded().toStdString();
  return CompareFrom(foldedA, foldedB, start, count);
}

namespace {
QLocale CollationLocale() {
  // A machine without a locale set (the C locale) would compare code points;
  // the trainer's users expect dictionary order.
  QLocale locale = QLocale::system();
  if (locale.language() == QLocale::C) locale = QLocale(QLocale::English, QLocale::UnitedStates);
  return locale;
}

QCollator& Collator(bool ignoreCase) {
  static QCollator sensitive = [] {
    QCollator c(CollationLocale());
    c.setCaseSensitivity(Qt::CaseSensitive);
    return c;
  }();
  static QCollator insensitive = [] {
    QCollator c(CollationLocale());
    c.setCaseSensitivity(Qt::CaseInsensitive);
    return c;
  }();
  return ignoreCase ? insensitive : sensitive;
}
}  // namespace

int CompareTexts(const std::string& a, const std::string& b, bool ignoreCase) {
  const int r = Collator(ignoreCase).compare(Utf8ToQString(a), Utf8ToQString(b));
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

std::string UpperCase(std::string_view text) {
  if (!IsAscii(text)) {
    // Character by character (simple case mapping): a sharp s has no
    // one-letter capital and stays.
    std::u32string chars = Utf8ToQString(text).toStdU32String();
    for (char32_t& c : chars) c = QChar::toUpper(c);
    return QString::fromStdU32String(chars).toStdString();
  }
  std::string result(text);
  for (char& c : result)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return result;
}

std::string LowerCaseAscii(const std::string& text) {
  std::string result(text);
  for (char& c : result)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return result;
}

TBytes TextToBytes(const std::string& text) { return TBytes(text.begin(), text.end()); }

std::string BytesToText(const TBytes& bytes) { return std::string(LineTextView(bytes.data(), bytes.size())); }
