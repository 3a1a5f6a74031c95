#pragma once
#include "exercise/ExerciseWord.h"

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
};

// Set by the main window while it exists; tests install a fake.
extern TMainWindowServices* mainWindow;
