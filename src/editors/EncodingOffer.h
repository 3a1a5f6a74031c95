#pragma once
#include <string>
#include <string_view>

#include "core/TextEncoding.h"

class QWidget;
class TAppLangHandler;
class TLangFHandler;

// A Windows-1252 language file stays so until the learner enters a character
// it cannot hold. Then the learner is asked, once for each file opened,
// whether to convert the file to UTF-8: yes keeps a backup of its bytes and
// makes the handler UTF-8, so its next save writes UTF-8; no (or a backup
// that cannot be written) refuses the character.
class TEncodingOffer {
 public:
  // path: where the handler's file is (empty: not yet written), as it changes.
  TEncodingOffer(TLangFHandler& file, const std::string& path, const TAppLangHandler& texts)
      : file_(file), path_(path), texts_(texts) {}

  // The handler now holds another file: the offer may be made again.
  void FileOpened() { asked_ = false; }

  // The file's encoding as it is now, and where the file is.
  TTextEncoding Encoding() const;
  const std::string& FilePath() const { return path_; }

  // Whether the file can hold the text as it is now. Silent.
  bool Holds(std::string_view text) const;

  // Whether the text (UTF-8) may go into the file: asks when it needs the
  // file converted; a refusal beeps and names the character. owner: the
  // window the boxes belong to.
  bool Accept(QWidget* owner, std::string_view text);

 private:
  enum class TAnswer { Converted, Declined, BackupFailed };
  // Asks; on yes keeps the backup and makes the handler UTF-8.
  TAnswer Ask(QWidget* owner, char32_t bad);
  void Refuse(QWidget* owner, char32_t bad) const;

  TLangFHandler& file_;
  const std::string& path_;
  const TAppLangHandler& texts_;
  bool asked_ = false;
  // A box is open: a field that loses the focus to it checks nothing.
  bool busy_ = false;
};
