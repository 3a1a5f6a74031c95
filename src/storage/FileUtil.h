#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "core/Bytes.h"
#include "DurableFile.h"

// Paths are the file system's bytes (UTF-8 on current systems). Both "\" and "/" separate folders; a
// path without ":" has an empty drive part.

std::string GetDrivePart(const std::string& path);
// Between the first and the last separator; empty when the last separator
// ends the drive or root part (C:\x.exe, /x).
std::string GetDirPart(const std::string& path);
// After the last separator, A-Z lower-cased.
std::string GetNamePart(const std::string& path);
// After the first "." of the name, lower-cased.
std::string GetExtPart(const std::string& path);
// The name without its first "." and what follows, lower-cased.
std::string GetBasePart(const std::string& path);

// The file-system path for a stored name: backslashes become "/".
std::filesystem::path NativePath(const std::string& path);
// A platform path as a stored name; always true (kept for callers that check).
bool StoredPath(const std::filesystem::path& path, std::string& out);

// A file name as the settings store it: below the program directory it is
// relative to it, starting with "\" and with "\" between folders (as sound
// names are), so a moved program finds its files; any other name as it is.
std::string AppRelativeName(const std::string& appDir, const std::string& path);
// The file a stored name means: a name starting with "\" is below the program
// directory (given with "/" between folders); any other name as it is.
std::string AppDirFileName(const std::string& appDir, const std::string& stored);

// Shows the missing-file warning. The window layer installs it; the core
// never opens a window. owner is the window the layer handed in (opaque here).
using TFileWarnHook = std::function<void(const std::string& caption, const std::string& text, const void* owner)>;
TFileWarnHook SetFileWarnHook(TFileWarnHook hook);

// True when a plain file of that name exists. Otherwise false, and with an
// owner and a non-empty caption the warning "<name> - Dosn't exists  ".
bool FileExistsWarn(const std::string& path, const std::string& caption = {}, const void* owner = nullptr);

// The whole file; empty when it does not exist. An input/output error on an
// existing file raises TFileIoError.
TBytes ReadFileBytes(const std::string& path);

// Hands the content of the file to sink block by block, without holding the
// whole file. False when the file does not exist; an input/output error on
// an existing file raises TFileIoError. size gets the size the file had when
// opened (a guess: the file may change while it is read).
using TByteSink = std::function<void(const uint8_t* data, std::size_t size)>;
bool ReadFileBlocks(const std::string& path, const TByteSink& sink, uint64_t* size = nullptr);

// Writes the bytes as the whole content of the file, all or nothing (see
// SaveFileDurably): on any failure the old file is as it was. True only on
// complete success; with overwrite false an existing file gives false.
// result, when given, gets what went wrong and the system's reason.
bool WriteFileBytes(const std::string& path, const TBytes& bytes, bool overwrite, TSaveResult* result = nullptr);

// Deletes a file; true when the system reports success.
bool DeleteFileAt(const std::string& path);
