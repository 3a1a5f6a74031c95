#include "FileWarnHook.h"

#include <QWidget>

#include "GeneralUtil.h"
#include "core/CodePage.h"
#include "storage/FileUtil.h"

void InstallFileWarnHook() {
  SetFileWarnHook([](const std::string& caption, const std::string& text, const void* owner) {
    auto* window = static_cast<QWidget*>(const_cast<void*>(owner));
    ShowMessageBox(window, Utf8ToQString(caption), Utf8ToQString(text), QMessageBox::Warning, QMessageBox::Ok,
                   true);
  });
}
