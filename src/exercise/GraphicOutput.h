#pragma once
#include <QFont>
#include <QImage>
#include <QRect>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "CardMetrics.h"
#include "CardText.h"
#include "CardWriting.h"
#include "CardZoom.h"
#include "WipeGrid.h"
#include "session/CardDrawing.h"

// Draws the flash card of the exercise window onto an off-screen image of
// the card area (the canvas the window shows): phrases written into the card
// picture, the zoom out of the card box and the dissolve of the old card.
// Every animation operation does one step per call.
class TCardGraphics : public TCardDrawing {
 public:
  // ppi picks the card picture and the scaled sizes once.
  explicit TCardGraphics(double ppi);

  // On every showing: canvas back to the background, work images, font,
  // and the dissolve grid when this program run has none yet.
  void InitCardGraphics();
  void FreeCardGraphics();

  void ClearTextLine(int line) override;
  bool DrawLetters(std::string_view phrase, int line, bool atOnce) override;
  void StartZoom() override;
  // One zoom tick; the stage after it (TCardZoom::kDone when the card rests).
  int ZoomStep();
  bool ZoomTick() override { return ZoomStep() == TCardZoom::kDone; }
  // reset: hide the card at once. Otherwise one dissolve tick; true when
  // the card is gone.
  bool WipeCard(bool reset) override;

  // What the card area shows, and the card at rest on it.
  const QImage& Canvas() const { return canvas_; }
  const QImage& CardPicture() const { return card_; }
  bool CardVisible() const { return cardVisible_; }
  QRect CardRect() const { return cardRect_; }
  const TCardLayout& CardSize() const { return spec_; }
  // The card font; scripts it lacks fall back to fonts that have them.
  const QFont& CardFont() const { return font_; }

  // Called after every change of the canvas (the window repaints).
  void SetChangedHook(std::function<void()> hook) { changed_ = std::move(hook); }

  // How often this program run built the dissolve grid (once).
  static int WipeGridBuilds();
  static void ForgetWipeGrid();  // tests: as if the program had just started

 private:
  void CardChanged();
  void HideCard();
  const TWipeGrid& Grid() const;

  TCardMetrics metrics_;
  TCardLayout spec_;
  QImage ground_;  // the background, extended with silver to the canvas size
  QImage canvas_;
  QImage card_;
  QImage blankCard_;
  QImage patch_, smallCard_;
  QFont font_;
  int ascent_ = 0;
  std::unique_ptr<TCardWriting> writing_;  // measures for text_, so it outlives it
  std::unique_ptr<TCardText> text_;
  TCardZoom zoom_;
  TCardWipe wipe_;
  bool cardVisible_ = false;
  QRect cardRect_;
  QRect parkRect_;
  bool initialised_ = false;
  std::vector<TCardLetter> letters_;
  std::vector<int32_t> cells_;
  std::function<void()> changed_;
};
