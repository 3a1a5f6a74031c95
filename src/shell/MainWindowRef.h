#pragma once
#include <string>

#include "settings/ExerciseList.h"

class QWidget;
class TLangFHandler;

// What other windows reach of the main window through the one global
// reference: the exercise window splits the list and reads the presented
// language, the lesson editor searches the main window's language file.
class TMainWindowServices {
 public:
  virtual ~TMainWindowServices() = default;
  virtual void SplitDeferred(TExerciseWords& exerciseWords, TExerciseWords& deferredWords) = 0;
  virtual bool IsFirstLangChecked() const = 0;
  virtual TLangFHandler& GetLangFHandler() = 0;
  virtual QWidget* Window() = 0;
  // Writes the settings and the exercise list now (after a pass, when the
  // exercise window closes), so that a crash or a kill loses little.
  virtual void KeepProgress() {}
  // Saves the exercises' language file after the exercise window retired
  // pairs. The main window keeps what the file held when it was read, so a
  // file changed elsewhere meanwhile is not put back to the older copy; this
  // plain save is for a window without one. False when nothing was written.
  virtual bool SaveExerciseLangFile(TLangFHandler& file, const std::string& fileName);
};

// Set by the main window while it exists; tests install a fake.
extern TMainWindowServices* mainWindow;
