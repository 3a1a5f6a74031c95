#pragma once
#include <string>

// Sound files named by another trainer's file, found on disk and named as a
// language file names its sounds.

// The sound a reference means: a file URL, an absolute path, or a path
// relative to the folder of the file that names it (sourceFile). The
// absolute path when a plain file is there, else empty.
std::string FindReferencedSound(const std::string& reference, const std::string& sourceFile);

// The name to store in the language file langFile: relative to its folder
// for a sound in that folder or below it, else the absolute path.
std::string SoundNameFor(const std::string& soundPath, const std::string& langFile);
