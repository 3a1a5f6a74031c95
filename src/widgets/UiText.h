#pragma once
#include <QString>

#include "settings/AppLangHandl.h"
#include "core/CodePage.h"

// Interface text n as a window shows it.
inline QString UiText(const TAppLangHandler& texts, int n) { return Utf8ToQString(texts.GetText(n)); }
// A group-box title: " " + text + " ".
inline QString UiTitle(const TAppLangHandler& texts, int n) { return ' ' + UiText(texts, n) + ' '; }
