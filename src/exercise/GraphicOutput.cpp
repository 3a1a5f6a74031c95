#include "GraphicOutput.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <optional>

#include "core/ArrayUtil.h"
#include "CardPictures.h"

namespace {

// The grid belongs to the program run: built at the first showing, kept to the end.
std::optional<TWipeGrid>& SharedGrid() {
  static std::optional<TWipeGrid> grid;
  return grid;
}
int& GridBuilds() {
  static int builds = 0;
  return builds;
}

// The card font at the largest pixel size whose cell fits the font height.
QFont CardFontFor(int fontHeight) {
  QFont f(QStringLiteral("Times New Roman"));
  f.setBold(true);
  f.setItalic(true);
  f.setStyleHint(QFont::Serif);
  for (int px = fontHeight; px > 4; --px) {
    f.setPixelSize(px);
    if (QFontMetrics(f).height() <= fontHeight) break;
  }
  // Emoji come in colour from their own font before any other fallback:
  // otherwise a plain font with a few black-and-white emoji wins and draws a
  // skin tone as a separate swatch. Listing families skips the substitution
  // that maps the first name, so it goes in as the font it resolves to.
  f.setFamilies({QFontInfo(f).family(), QStringLiteral("Noto Color Emoji")});
  return f;
}

}  // namespace

TCardGraphics::TCardGraphics(double ppi)
    : metrics_(ComputeCardMetrics(ppi)),
      spec_(CardPictureFor(ppi)),
      zoom_(metrics_, spec_.width, spec_.height) {
  // Where the card comes to rest decides how large the card area must be.
  TCardZoom probe(metrics_, spec_.width, spec_.height);
  probe.StartZoom();
  TZoomPaint paint;
  for (int i = 0; i < 200 && probe.ZoomStep(paint) != TCardZoom::kDone; ++i) {
  }
  const int w = std::max(kGroundWidth, paint.x + paint.w + 6);
  const int h = std::max(kGroundHeight, paint.y + paint.h + 6);
  ground_ = QImage(w, h, QImage::Format_RGB32);
  ground_.fill(kSilver);
  {
    QPainter p(&ground_);
    p.drawImage(0, 0, PaintGroundPicture());
  }
  blankCard_ = PaintCardPicture(spec_);
  card_ = blankCard_;
  canvas_ = ground_;
  parkRect_ = QRect(0, 0, 10, 10);
  cardRect_ = parkRect_;
  font_ = CardFontFor(metrics_.fontHeight);
  ascent_ = QFontMetrics(font_).ascent();
}

const TWipeGrid& TCardGraphics::Grid() const { return *SharedGrid(); }
int TCardGraphics::WipeGridBuilds() { return GridBuilds(); }
void TCardGraphics::ForgetWipeGrid() {
  SharedGrid().reset();
  GridBuilds() = 0;
}

void TCardGraphics::InitCardGraphics() {
  canvas_ = ground_;
  card_ = blankCard_;
  cardVisible_ = false;
  cardRect_ = parkRect_;
  writing_ = std::make_unique<TCardWriting>(font_, ascent_);
  text_ = std::make_unique<TCardText>(metrics_, spec_.width,
                                      [w = writing_.get()](TCardPhrase& phrase) { w->Measure(phrase); });
  patch_ = QImage();
  smallCard_ = QImage();
  // One card size per program run; another size (a test) needs its own grid.
  const std::optional<TWipeGrid>& g = SharedGrid();
  if (!g || g->width != spec_.width || g->height != spec_.height || g->square != metrics_.wipeSquare) {
    SharedGrid() = BuildWipeGrid(spec_.width, spec_.height, metrics_.wipeSquare, RandomEngine());
    ++GridBuilds();
  }
  wipe_.Reset();
  initialised_ = true;
  if (changed_) changed_();
}

void TCardGraphics::FreeCardGraphics() {
  if (!initialised_) return;
  patch_ = QImage();
  smallCard_ = QImage();
  initialised_ = false;
}

void TCardGraphics::CardChanged() {
  // Text written on a card at rest shows at once.
  if (cardVisible_) {
    QPainter p(&canvas_);
    p.drawImage(cardRect_.topLeft(), card_);
  }
  if (changed_) changed_();
}

void TCardGraphics::ClearTextLine(int line) {
  if (!text_) return;
  const TCardRect r = text_->ClearRect(line);
  {
    QPainter p(&card_);
    p.fillRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)), Qt::white);
  }
  text_->Reset();
  CardChanged();
}

bool TCardGraphics::DrawLetters(std::string_view phrase, int line, bool atOnce) {
  if (!text_) return true;
  letters_.clear();
  const bool starting = text_->letterPos == 1;
  const bool complete = text_->DrawLetters(phrase, line, atOnce, letters_);
  if (starting) {
    const TCardRect r = text_->ClearRect(line);
    writing_->Start(*text_, QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)));
  }
  // The box was cleared before the phrase; nothing is written outside it.
  if (!letters_.empty()) writing_->Reveal(card_, letters_);
  CardChanged();
  return complete;
}

void TCardGraphics::StartZoom() { zoom_.StartZoom(); }

int TCardGraphics::ZoomStep() {
  const int stageBefore = zoom_.zoomStage;
  TZoomPaint paint;
  const int stage = zoom_.ZoomStep(paint);
  QPainter p(&canvas_);
  switch (paint.kind) {
    case TZoomPaint::Stretch: {
      if (paint.w > 0 && paint.h > 0) {
        const int srcH = stageBefore == 0 ? spec_.height - 1 : spec_.height;
        p.drawImage(QRect(paint.x, paint.y, paint.w, paint.h), card_, QRect(0, 0, spec_.width, srcH));
      }
      break;
    }
    case TZoomPaint::Patch: {
      // Background under the patch, the small card on it, the patch on the
      // canvas: the place the card left is restored in the same copy.
      QPainter pp(&patch_);
      pp.setCompositionMode(QPainter::CompositionMode_Source);
      pp.drawImage(0, 0, ground_, paint.x, paint.y, paint.w, paint.h);
      pp.drawImage(paint.dx, paint.dy, smallCard_);
      pp.end();
      p.drawImage(paint.x, paint.y, patch_);
      break;
    }
    case TZoomPaint::Place:
      cardRect_ = QRect(paint.x, paint.y, paint.w, paint.h);
      cardVisible_ = true;
      p.drawImage(cardRect_.topLeft(), card_);
      break;
    case TZoomPaint::None:
      break;
  }
  if (paint.newSmallCard) {
    patch_ = QImage(zoom_.patchWidth, zoom_.patchHeight, QImage::Format_RGB32);
    smallCard_ = card_.scaled(zoom_.smallWidth, zoom_.smallHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  p.end();
  if (changed_) changed_();
  return stage;
}

void TCardGraphics::HideCard() {
  // Hiding the card shows the background where it stood.
  if (cardVisible_) {
    QPainter p(&canvas_);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(cardRect_.topLeft(), ground_, cardRect_);
  }
  cardVisible_ = false;
  cardRect_ = parkRect_;
  wipe_.Reset();
  if (changed_) changed_();
}

bool TCardGraphics::WipeCard(bool reset) {
  // Nothing to dissolve when no card rests on the canvas.
  if (reset || !cardVisible_ || !SharedGrid()) {
    HideCard();
    return true;
  }
  const TWipeGrid& g = Grid();
  cells_.clear();
  const bool done = wipe_.Step(g, cells_);
  {
    QPainter p(&canvas_);
    const QColor silver(kSilver);
    for (int32_t c : cells_)
      p.fillRect(cardRect_.left() + g.cellX[c], cardRect_.top() + g.cellY[c], g.square, g.square, silver);
  }
  if (done) {
    HideCard();
    return true;
  }
  if (changed_) changed_();
  return false;
}
