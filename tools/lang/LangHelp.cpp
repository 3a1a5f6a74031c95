#include "LangHelp.h"

const char* const kProgramHelp =
    "Usage: quillmere-lang COMMAND [ARGUMENTS]\n"
    "\n"
    "Looks into Quillmere language files, moves them to and from tables, and\n"
    "unpacks them into text lines for editing by hand.\n"
    "\n"
    "Commands:\n"
    "  info FILE.lang                      languages, lessons and pair counts\n"
    "  export FILE.lang [--csv]            all pairs as a table (UTF-8)\n"
    "  import TABLE (--tsv|--csv) OUT.lang --lang1 NAME --lang2 NAME [--force]\n"
    "                                      a table into a new language file\n"
    "  dump FILE.lang                      the lines of the file as text\n"
    "  pack LINES.txt OUT.lang [--force]   text lines back into a language file\n"
    "\n"
    "import and pack do not replace a language file that a running Quillmere\n"
    "has open as its exercise file (exit status 1) unless --force is given.\n"
    "\n"
    "quillmere-lang COMMAND --help tells more about each command.\n"
    "\n"
    "Exit status: 0 success; 1 a file cannot be read or written, or fails the\n"
    "header or checksum test; 2 wrong usage or rejected input (nothing written).\n";

const char* const kInfoHelp =
    "Usage: quillmere-lang info FILE.lang\n"
    "\n"
    "Shows the two language names, the number of lessons and, per lesson, its\n"
    "number, its pairs, the pairs in use and the pairs already drawn into an\n"
    "exercise; then the totals. When the reading rules drop parts of the file\n"
    "(lines before \"[General]\", a lesson with a negative or repeated number,\n"
    "text after a zero byte, ...), it lists what and where: the program keeps\n"
    "a backup of such a file before it saves it without them.\n";

const char* const kExportHelp =
    "Usage: quillmere-lang export FILE.lang [--tsv|--csv]\n"
    "\n"
    "Writes every pair of the file to standard output as a table in UTF-8:\n"
    "a header row lesson, pair, use, drawn, word1, word2, wav1, wav2, then one\n"
    "row per pair, lessons and pairs ascending. use and drawn are 0 or 1; a\n"
    "pair without a sound file has an empty wav field.\n"
    "\n"
    "  --tsv   tab-separated (the default)\n"
    "  --csv   comma-separated, quoted as RFC 4180 has it\n"
    "\n"
    "Example: quillmere-lang export words.lang --csv > words.csv\n";

const char* const kImportHelp =
    "Usage: quillmere-lang import TABLE (--tsv|--csv) OUT.lang --lang1 NAME --lang2 NAME [--force]\n"
    "\n"
    "Reads a UTF-8 table (a byte-order mark is fine) whose header row names\n"
    "its columns, in any order:\n"
    "  lesson         lesson number, 1 to 99999 (required)\n"
    "  word1, word2   the phrases in the first and second language (required)\n"
    "  wav1, wav2     sound files; empty or missing means none\n"
    "  use            1 (the default) or 0\n"
    "  drawn          0 (the default) or 1\n"
    "  pair           ignored: pairs are numbered in row order in each lesson\n"
    "and writes the language file OUT.lang with the two language names.\n"
    "\n"
    "Every row is checked first. A row is rejected, with its number and the\n"
    "reason, for a character Windows-1252 cannot hold, a character the file\n"
    "uses as a separator (\"@\", \"#\", \"*\" or \"\xC2\xA7\" in word1; \"#\", \"*\" or \"\xC2\xA7\" in word2;\n"
    "\"@\", \"*\" or \"\xC2\xA7\" in wav1; \"*\" or \"\xC2\xA7\" in wav2), a line break or other control\n"
    "character, a bad lesson number, an empty phrase, a malformed CSV quote or\n"
    "the wrong number of fields. Then nothing is written; an existing OUT.lang\n"
    "is only ever replaced as a whole.\n"
    "\n"
    "  --tsv, --csv   the table's format (one is required)\n"
    "  --lang1 NAME   name of the first language (no \"@\", not beginning with \"[\")\n"
    "  --lang2 NAME   name of the second language\n"
    "  --force        replace OUT.lang even while a running Quillmere has it open\n"
    "                 as its exercise file (without it: refused, exit status 1);\n"
    "                 Quillmere then carries its own changes (pairs used, drawn or\n"
    "                 retired) over onto the new file when it saves\n";

const char* const kDumpHelp =
    "Usage: quillmere-lang dump FILE.lang\n"
    "\n"
    "Writes the unscrambled lines of the file to standard output, one per\n"
    "line, in UTF-8. pack turns them back into the same file.\n";

const char* const kPackHelp =
    "Usage: quillmere-lang pack LINES.txt OUT.lang [--force]\n"
    "\n"
    "The reverse of dump: reads UTF-8 text lines (LF or CR LF line ends, a\n"
    "byte-order mark is fine) and writes them as the language file OUT.lang.\n"
    "Every line is checked first: a character Windows-1252 cannot hold, a\n"
    "carriage return or NUL inside a line, a line too long for the file, or a\n"
    "lesson header or pair line whose number is no integer rejects the input\n"
    "and nothing is written.\n"
    "\n"
    "  --force   replace OUT.lang even while a running Quillmere has it open as\n"
    "            its exercise file (without it: refused, exit status 1)\n";
