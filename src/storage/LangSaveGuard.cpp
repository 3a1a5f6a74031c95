#include "LangSaveGuard.h"

#include <utility>

namespace {
TLangSaveGuard* installed = nullptr;
}  // namespace

TLangSaveGuard* SetLangSaveGuard(TLangSaveGuard* guard) { return std::exchange(installed, guard); }

TLangSaveGuard* LangSaveGuard() { return installed; }
