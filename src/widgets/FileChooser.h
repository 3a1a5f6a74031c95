#pragma once
#include <QString>
#include <functional>

class QWidget;

// What a file dialog asks; tests answer it through the hook below.
struct TFileRequest {
  QWidget* owner = nullptr;
  QString title;
  QString filter;         // "Language file (*.lang)"
  QString defaultSuffix;  // without the dot
  QString directory;      // the folder the dialog starts in
  QString fileName;       // the proposed name
  bool save = false;      // a save dialog (it does not ask before overwriting)
};

// Runs a modal open or save dialog; the chosen file, or empty when cancelled.
QString ChooseFile(const TFileRequest& request);

// Replaces the real dialog (tests choose the file); returns the previous hook.
using TFileChooserHook = std::function<QString(const TFileRequest&)>;
TFileChooserHook SetFileChooserHook(TFileChooserHook hook);
