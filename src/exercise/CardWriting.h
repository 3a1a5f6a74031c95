#pragma once
#include <QFont>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QTextLayout>
#include <memory>
#include <vector>

#include "CardText.h"

// Writes a phrase onto the card picture with the shaping of its script:
// each row is laid out once (Arabic letters join, Devanagari conjuncts form,
// right-to-left rows run from the right edge) and its characters show one by
// one by widening the clip over the laid-out row.
class TCardWriting {
 public:
  TCardWriting(const QFont& font, int ascent) : font_(font), ascent_(ascent) {}

  // Measures the clusters of a phrase as the card font writes them together.
  void Measure(TCardPhrase& phrase) const;

  // A new phrase in the box of its text line; rows as TCardText split it.
  void Start(const TCardText& text, const QRect& box);
  // Shows the given characters of the phrase last started.
  void Reveal(QImage& card, const std::vector<TCardLetter>& letters);

 private:
  struct TRow {
    std::unique_ptr<QTextLayout> layout;
    QPointF origin;
    int first = 0, end = 0;
    std::vector<QRect> strips;  // per cluster: its columns over the whole box
    int shownCount = 0;
    QRegion shown;
  };
  void LayOut(TRow& row, const TCardPhrase& phrase, const TCardRow& r, int leftX, int rightX);

  QFont font_;
  int ascent_;
  QRect box_;
  TRow rows_[2];
};
