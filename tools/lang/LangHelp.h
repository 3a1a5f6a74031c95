#pragma once

// The --help texts of quillmere-lang and of each of its commands; the first
// line of each is its usage line.
extern const char* const kProgramHelp;
extern const char* const kInfoHelp;
extern const char* const kExportHelp;
extern const char* const kImportHelp;
extern const char* const kDumpHelp;
extern const char* const kPackHelp;
extern const char* const kConvertHelp;
extern const char* const kSpeakHelp;
extern const char* const kCheckHelp;
extern const char* const kStatsHelp;
