#pragma once
#include <QString>
#include <string>

// Where the program finds its files. Run from a folder that holds its files
// (the build's program directory, a copied folder) everything lies there.
// Installed (the executable in <prefix>/bin, its files in
// <prefix>/share/quillmere), the learner's settings and language files live
// in the learner's own folders and nothing is written below the prefix.
// All paths are stored paths (the file system's bytes) without a trailing
// separator; any character a folder name may hold is fine.
struct TAppFolders {
  std::string Program;   // Text.Db, the help, the pictures, the demo lessons
  std::string Settings;  // Quillmere.Ini and the backups beside it
  std::string Data;      // LangFiles; names starting with "\" resolve here
  bool Installed = false;
};

// Everything in one folder, as run from the build or a copied folder.
TAppFolders PortableFolders(const std::string& programDir);

// The folders for the executable in exeDir (a stored path): portable when
// Text.Db lies beside it, else installed, with the learner's folders from
// XDG_CONFIG_HOME and XDG_DATA_HOME (their defaults when unset).
TAppFolders FindAppFolders(const std::string& exeDir);

// Installed, on the first start: makes the learner's folders, copies the
// first settings file and the demo lessons (their sounds and pictures too)
// from the program's folder. Files the learner has are never replaced. False,
// with the reason in why, when the settings could not be made.
bool PrepareLearnerFolders(const TAppFolders& folders, QString& why);
