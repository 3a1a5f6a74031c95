#include "MainWindowRef.h"

#include "storage/LangFHandler.h"

TMainWindowServices* mainWindow = nullptr;

bool TMainWindowServices::SaveExerciseLangFile(TLangFHandler& file, const std::string& fileName) {
  return file.SaveLangFile(fileName);
}
