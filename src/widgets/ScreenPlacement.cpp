#include "ScreenPlacement.h"

#include <QBoxLayout>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace {
constexpr const char* kKeeperName = "qmFrameKeeper";

// One axis: the span [start, start + length) inside [low, low + room).
void FitSpan(int& start, int& length, int low, int room) {
  if (room <= 0) return;
  length = std::min(length, room);
  start = std::clamp(start, low, low + room - length);
}

// Watches one window. Qt places a window by its inner rectangle until the
// window manager has framed it, so a window asked for at the top of the screen
// gets its title bar above it; the frame is only known after the window is
// shown, so the window is put right then.
class TFrameKeeper : public QObject {
 public:
  explicit TFrameKeeper(QWidget* window) : QObject(window), window_(window) {
    setObjectName(QString::fromLatin1(kKeeperName));
    window->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != window_) return false;
    switch (event->type()) {
      case QEvent::Show:
        placing_ = true;
        FitCaption();
        Place();
        break;
      case QEvent::WindowTitleChange:
        FitCaption();
        break;
      case QEvent::Move:
        // The first moves after showing are the window manager framing it;
        // later ones are the learner's and stay as they are.
        if (placing_) Place();
        break;
      case QEvent::Resize:
        if (window_->isVisible()) Place();
        break;
      case QEvent::WindowActivate:
        if (Framed()) placing_ = false;
        break;
      default:
        break;
    }
    return false;
  }

 private:
  bool Framed() const { return window_->frameGeometry() != window_->geometry(); }

  void Place() {
    if (!window_->isVisible()) return;
    QScreen* screen = window_->screen() != nullptr ? window_->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect frame = window_->frameGeometry();
    const QRect target = FrameOnScreen(frame, screen->availableGeometry());
    if (Framed()) placing_ = false;
    if (target == frame) return;
    const bool resizable = window_->minimumSize() != window_->maximumSize();
    if (target.size() != frame.size() && resizable) window_->resize(window_->size() - (frame.size() - target.size()));
    // For a window, move() places its frame.
    window_->move(target.topLeft());
  }

  // A zero-height strut in the window's box layout widens even a window that
  // sizes itself to its content; it takes no spacing.
  void FitCaption() {
    const int width = CaptionWidth(window_);
    auto* box = qobject_cast<QBoxLayout*>(window_->layout());
    if (box != nullptr) {
      if (strut_ == nullptr) {
        strut_ = new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Fixed);
        box->addItem(strut_);  // owned by the layout
      } else {
        strut_->changeSize(width, 0, QSizePolicy::Fixed, QSizePolicy::Fixed);
      }
      box->invalidate();
      box->activate();
    } else if (window_->width() < width && window_->maximumWidth() >= width) {
      window_->resize(width, window_->height());
    }
  }

  QWidget* window_;
  QSpacerItem* strut_ = nullptr;
  bool placing_ = false;
};
}  // namespace

QRect FrameOnScreen(const QRect& frame, const QRect& available) {
  int left = frame.left();
  int top = frame.top();
  int width = frame.width();
  int height = frame.height();
  FitSpan(left, width, available.left(), available.width());
  FitSpan(top, height, available.top(), available.height());
  return {left, top, width, height};
}

int CaptionWidth(const QWidget* window) {
  if (window == nullptr) return 0;
  QFont font = window->font();
  font.setBold(true);  // title bars mostly show the caption bold
  const int text = QFontMetrics(font).horizontalAdvance(window->windowTitle());
  const int button = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
  // Icon, three buttons and the frame's margins.
  return text + 5 * button;
}

void KeepFrameOnScreen(QWidget* window) {
  if (window == nullptr || window->findChild<QObject*>(QString::fromLatin1(kKeeperName), Qt::FindDirectChildrenOnly) != nullptr)
    return;
  new TFrameKeeper(window);  // owned by the window
}
