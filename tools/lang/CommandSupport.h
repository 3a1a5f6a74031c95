#pragma once
#include <string>
#include <vector>

#include "LangCommands.h"
#include "ToolArgs.h"
#include "core/TextEncoding.h"
#include "storage/DurableFile.h"
#include "storage/FileUtil.h"
#include "storage/LangFHandler.h"
#include "storage/PairFields.h"

// What the commands of quillmere-lang share: file names from the command
// line, reading and refusing files, and the checks of a new file's names.
// Each fails by TToolFailure.

// A file name from the command line as the storage functions take it.
std::string StoredArg(const std::string& arg);
TBytes ReadInput(const std::string& arg);
void LoadLang(const std::string& arg, TLangFHandler& handler);
[[noreturn]] void CannotWrite(const std::string& arg, const TSaveResult& result);
// Refuses to replace the exercise file of a running Quillmere without --force.
void RefuseHeldFile(const TToolArgs& args, const std::string& outArg);
// Refuses to replace any existing file without --force.
void RefuseExistingFile(const TToolArgs& args, const std::string& outArg);
void NeedFiles(const TToolArgs& args, std::size_t count, const char* usage);
// Lists errors found in one input, at most kErrorsShown of them, and then
// the note when there is one.
[[noreturn]] void Reject(const std::string& input, const std::vector<std::string>& reasons,
                         const std::string& note = {});
// Checks a language name for a new file (given as option, or found in the
// imported file when the option is missing and fallback is not empty).
std::string LangName(const TToolArgs& args, TPairField field, TTextEncoding target, std::vector<std::string>& problems,
                     const std::string& fallback = {});
// Fails with the problems, or when the names line is too long for the file.
void CheckLangNames(const std::string& lang1, const std::string& lang2, TTextEncoding target,
                    std::vector<std::string> problems);
// --encoding, UTF-8 when not given.
TTextEncoding TargetEncoding(const TToolArgs& args);
