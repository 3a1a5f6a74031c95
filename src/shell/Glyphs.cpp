#include "Glyphs.h"

#include <QApplication>
#include <QHash>

namespace {
QHash<int, QIcon>*& Cache() {
  static QHash<int, QIcon>* cache = nullptr;
  return cache;
}

// The icons go with the application, before the GUI is torn down.
void DropCache() {
  delete Cache();
  Cache() = nullptr;
}
}  // namespace

QIcon StandardGlyph(QStyle::StandardPixmap glyph) {
  if (Cache() == nullptr) {
    Cache() = new QHash<int, QIcon>;  // freed by DropCache
    qAddPostRoutine(DropCache);
  }
  auto it = Cache()->find(glyph);
  if (it == Cache()->end()) it = Cache()->insert(glyph, QApplication::style()->standardIcon(glyph));
  return *it;
}
