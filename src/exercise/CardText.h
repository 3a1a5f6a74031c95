#pragma once
#include <QString>
#include <functional>
#include <string_view>
#include <vector>

#include "CardMetrics.h"

// One user-perceived character of a phrase (a letter with its accents, a
// syllable, an emoji): where it lies in the phrase's text and how wide the
// card font writes it.
struct TCardCluster {
  int from = 0;    // UTF-16 offset in TCardPhrase::text
  int length = 0;  // UTF-16 units
  int width = 0;
  bool blank = false;
};

// A phrase as the card writes it.
struct TCardPhrase {
  QString text;
  std::vector<TCardCluster> clusters;
  bool rightToLeft = false;  // Arabic, Hebrew: written from the right edge leftwards
};

// Splits a UTF-8 phrase into its user-perceived characters; widths stay 0.
TCardPhrase SplitCardPhrase(std::string_view utf8);

// Fills in the widths of a phrase's clusters.
using TClusterMeasure = std::function<void(TCardPhrase&)>;

struct TCardRect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};

// One character to draw: the top-left of its cell and which cluster of the
// phrase it is.
struct TCardLetter {
  int x = 0;
  int y = 0;
  int cluster = 0;  // 0-based index into TCardPhrase::clusters
  int width = 0;
};

// The clusters [first, end) of one text row.
struct TCardRow {
  int first = 0;
  int end = 0;
  int top = 0;
};

// Where the characters of a phrase go on the card: one or two rows above the
// ruled line of card line 1 (question) or 2 (answer), written one character
// per call or all at once, cut at the text limit of the lower row. Rows of a
// right-to-left phrase start at the right edge of the writing area.
class TCardText {
 public:
  TCardText(const TCardMetrics& metrics, int cardWidth, TClusterMeasure measure);

  int TextLeft() const { return m_.textLeftX; }
  int TextLimit() const { return cardWidth_ - m_.rightMargin; }
  // Top of the lower row of the line: its letters stand on the ruled line.
  int LineTop(int line) const;
  // The white box that ClearTextLine fills; the ruled line stays below it.
  TCardRect ClearRect(int line) const;

  // Appends the characters of this call to out; true when the phrase is
  // complete (letterPos then starts again at 1). An empty phrase is
  // complete at once.
  bool DrawLetters(std::string_view phrase, int line, bool atOnce, std::vector<TCardLetter>& out);

  // Back to "no phrase in progress".
  void Reset() { letterPos = 1; }

  // The phrase last started and its rows: the upper row is empty when the
  // phrase fits one row; the lower row ends where the text limit cuts it.
  const TCardPhrase& Phrase() const { return phrase_; }
  TCardRow UpperRow() const;
  TCardRow LowerRow() const;

  int letterPos = 1;  // 1-based position of the next character
  int fitCount = 0;   // characters that fit one row
  int wrapPos = 1;    // 1-based first character of the lower row
  int penX = 0;       // distance written so far, as if left to right
  int penY = 0;

 private:
  void StartPhrase(std::string_view phrase, int line);
  void MeasureFit();
  void FindWrapPos();
  int FindLowerEnd() const;
  int Count() const { return static_cast<int>(phrase_.clusters.size()); }
  bool FitsOneRow() const { return fitCount == Count(); }
  bool OnLowerRow(int pos) const { return FitsOneRow() || pos >= wrapPos; }
  bool FirstOfLowerRow(int pos) const { return FitsOneRow() ? pos == 1 : pos == wrapPos; }
  void DrawOne(std::vector<TCardLetter>& out);

  TCardMetrics m_;
  int cardWidth_;
  TClusterMeasure measure_;
  TCardPhrase phrase_;
  int line_ = 1;
  int lowerEnd_ = 0;  // 0-based end of the clusters the lower row can take
};
