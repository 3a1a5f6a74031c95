#include "PlaybackInputGate.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

TPlaybackInputGate::TPlaybackInputGate(TFilter allowed) : allowed_(std::move(allowed)) {
  if (QCoreApplication::instance() != nullptr) QCoreApplication::instance()->installEventFilter(this);
}

TPlaybackInputGate::~TPlaybackInputGate() {
  if (QCoreApplication::instance() != nullptr) QCoreApplication::instance()->removeEventFilter(this);
}

bool TPlaybackInputGate::IsUserInput(const QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
      return true;
    default:
      return false;
  }
}

bool TPlaybackInputGate::eventFilter(QObject* target, QEvent* event) {
  if (!IsUserInput(event)) return false;
  return !(allowed_ && allowed_(target, event));
}

namespace {
bool IsNavigationKey(int key) {
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return true;
    default:
      return false;
  }
}

bool IsAction(const QAction* action, const QString& name) { return action != nullptr && action->objectName() == name; }
}  // namespace

bool IsMenuInputFor(QObject* target, QEvent* event, const QString& actionName) {
  if (qobject_cast<QMenuBar*>(target) != nullptr) {
    // The bar only opens menus; keys there walk it.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
      return IsNavigationKey(static_cast<QKeyEvent*>(event)->key());
    return event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease;
  }
  auto* menu = qobject_cast<QMenu*>(target);
  if (menu == nullptr) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      return true;
    case QEvent::MouseButtonRelease: {
      // A release chooses the entry under it.
      QAction* action = menu->actionAt(static_cast<QMouseEvent*>(event)->position().toPoint());
      return action == nullptr || action->menu() != nullptr || IsAction(action, actionName);
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (IsNavigationKey(key)) return true;
      const bool chooses = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
      return chooses && IsAction(menu->activeAction(), actionName);
    }
    default:
      return false;
  }
}
