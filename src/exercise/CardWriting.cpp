#include "CardWriting.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLine>
#include <QTextOption>
#include <algorithm>
#include <cmath>

namespace {

// One line, never wrapped, starting at x 0 whatever the direction.
std::unique_ptr<QTextLayout> LayOutLine(const QString& text, const QFont& font, bool rightToLeft) {
  auto layout = std::make_unique<QTextLayout>(text, font);
  QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
  option.setWrapMode(QTextOption::NoWrap);
  option.setTextDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
  layout->setTextOption(option);
  layout->setCacheEnabled(true);
  layout->beginLayout();
  QTextLine line = layout->createLine();
  if (line.isValid()) line.setLineWidth(100000);
  layout->endLayout();
  return layout;
}

qreal CursorX(const QTextLine& line, int pos) { return line.cursorToX(&pos); }

// The columns a cluster's glyphs take; where it has none, the columns
// between its cursor positions.
std::pair<qreal, qreal> ClusterColumns(const QTextLine& line, int from, int length) {
  qreal left = 0, right = 0;
  bool any = false;
  for (const QGlyphRun& run : line.glyphRuns(from, length)) {
    const QList<QPointF> positions = run.positions();
    const QList<QPointF> advances = run.rawFont().advancesForGlyphIndexes(run.glyphIndexes());
    for (qsizetype i = 0; i < positions.size() && i < advances.size(); ++i) {
      const qreal a = positions[i].x(), b = a + advances[i].x();
      left = any ? std::min({left, a, b}) : std::min(a, b);
      right = any ? std::max({right, a, b}) : std::max(a, b);
      any = true;
    }
  }
  if (!any || right <= left) {
    const qreal a = CursorX(line, from), b = CursorX(line, from + length);
    left = std::min(a, b);
    right = std::max(a, b);
  }
  return {left, right};
}

}  // namespace

void TCardWriting::Measure(TCardPhrase& phrase) const {
  if (phrase.clusters.empty()) return;
  const std::unique_ptr<QTextLayout> layout = LayOutLine(phrase.text, font_, phrase.rightToLeft);
  const QTextLine line = layout->lineAt(0);
  // Widths from rounded cursor positions add up to the shaped width of the
  // whole phrase: joined Arabic letters and kerning count as written.
  int before = static_cast<int>(std::lround(CursorX(line, 0)));
  for (TCardCluster& c : phrase.clusters) {
    const int after = static_cast<int>(std::lround(CursorX(line, c.from + c.length)));
    c.width = std::abs(after - before);
    before = after;
  }
}

void TCardWriting::LayOut(TRow& row, const TCardPhrase& phrase, const TCardRow& r, int leftX, int rightX) {
  row = TRow();
  row.first = r.first;
  row.end = r.end;
  if (r.end <= r.first) return;
  const int textFrom = phrase.clusters[r.first].from;
  const TCardCluster& last = phrase.clusters[r.end - 1];
  row.layout = LayOutLine(phrase.text.mid(textFrom, last.from + last.length - textFrom), font_, phrase.rightToLeft);
  const QTextLine line = row.layout->lineAt(0);
  // The row's first character starts at the left of the writing area, or
  // at its right for a right-to-left phrase; letters stand on the row's
  // baseline whatever fallback font a script needs.
  const qreal start = CursorX(line, 0);
  row.origin = QPointF((phrase.rightToLeft ? rightX : leftX) - start, r.top + ascent_ - line.ascent());
  for (int i = r.first; i < r.end; ++i) {
    const TCardCluster& c = phrase.clusters[i];
    const auto [left, right] = ClusterColumns(line, c.from - textFrom, c.length);
    const int x0 = static_cast<int>(std::floor(row.origin.x() + left));
    const int x1 = static_cast<int>(std::ceil(row.origin.x() + right));
    row.strips.push_back(QRect(x0, box_.top(), std::max(0, x1 - x0), box_.height()) & box_);
  }
}

void TCardWriting::Start(const TCardText& text, const QRect& box) {
  box_ = box;
  LayOut(rows_[0], text.Phrase(), text.UpperRow(), text.TextLeft(), text.TextLimit());
  LayOut(rows_[1], text.Phrase(), text.LowerRow(), text.TextLeft(), text.TextLimit());
}

void TCardWriting::Reveal(QImage& card, const std::vector<TCardLetter>& letters) {
  QRegion target[2] = {rows_[0].shown, rows_[1].shown};
  for (const TCardLetter& l : letters) {
    for (int k = 0; k < 2; ++k) {
      TRow& row = rows_[k];
      if (l.cluster < row.first || l.cluster >= row.end) continue;
      target[k] += row.strips[l.cluster - row.first];
      // A finished row shows whole: slanted and joined strokes that reach
      // beyond their character's columns, and marks set outside them.
      if (++row.shownCount == row.end - row.first) target[k] = QRegion(box_);
    }
  }
  QPainter p(&card);
  p.setPen(QColor(0, 0, 255));
  for (int k = 0; k < 2; ++k) {
    TRow& row = rows_[k];
    if (!row.layout) continue;
    // Every pixel column once: drawing antialiased edges twice would darken them.
    const QRegion fresh = target[k] - row.shown;
    if (fresh.isEmpty()) continue;
    p.setClipRegion(fresh);
    row.layout->draw(&p, row.origin);
    row.shown = target[k];
  }
}
