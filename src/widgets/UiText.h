#pragma once
#include <QString>
#include <initializer_list>

#include "settings/AppLangHandl.h"
#include "core/CodePage.h"

// Interface text n as a window shows it.
inline QString UiText(const TAppLangHandler& texts, int n) { return Utf8ToQString(texts.GetText(n)); }
// A group-box title: " " + text + " ".
inline QString UiTitle(const TAppLangHandler& texts, int n) { return ' ' + UiText(texts, n) + ' '; }
// The numbers put into a text's places %1, %2, ... in order; a text without
// the places (a text database of an older version) gets them appended.
inline QString WithNumbers(QString text, std::initializer_list<int> numbers) {
  int place = 1;
  for (const int n : numbers) {
    const QString mark = QStringLiteral("%") + QString::number(place++);
    if (text.contains(mark))
      text.replace(mark, QString::number(n));
    else
      text += QStringLiteral(" ") + QString::number(n);
  }
  return text;
}

