#include "EncodingOffer.h"

#include "core/CodePage.h"
#include "settings/AppLangHandl.h"
#include "settings/TextNumbers.h"
#include "storage/EncodingBackup.h"
#include "storage/LangFHandler.h"
#include "widgets/FieldCheck.h"
#include "widgets/GeneralUtil.h"
#include "widgets/UiText.h"

TTextEncoding TEncodingOffer::Encoding() const { return file_.Encoding; }

bool TEncodingOffer::Holds(std::string_view text) const {
  if (file_.Encoding == TTextEncoding::Utf8) return true;
  std::string bytes;
  return Utf8ToCp1252(text, bytes);
}

bool TEncodingOffer::Accept(QWidget* owner, std::string_view text) {
  if (file_.Encoding == TTextEncoding::Utf8 || busy_) return true;
  std::string bytes;
  char32_t bad = 0;
  if (Utf8ToCp1252(text, bytes, &bad)) return true;
  // A file not yet written has no old bytes to keep.
  if (path_.empty()) {
    file_.Encoding = TTextEncoding::Utf8;
    return true;
  }
  busy_ = true;
  const TAnswer answer = asked_ ? TAnswer::Declined : Ask(owner, bad);
  asked_ = true;
  // A failed backup was told already, with what it means for the character.
  if (answer == TAnswer::Declined) Refuse(owner, bad);
  busy_ = false;
  return answer == TAnswer::Converted;
}

TEncodingOffer::TAnswer TEncodingOffer::Ask(QWidget* owner, char32_t bad) {
  TMessageRequest ask;
  ask.owner = owner;
  ask.caption = UiText(texts_, txConvertTitle);
  ask.text = UiText(texts_, txLegacyCannotHold) + NamedChar(bad) + QStringLiteral("\n\n") +
             UiText(texts_, txOfferUtf8) + '\n' + DisplayPath(TEncodingBackup::NextName(path_));
  ask.icon = QMessageBox::Question;
  ask.buttons = QMessageBox::Yes | QMessageBox::No;
  ask.buttonTexts = {{QMessageBox::Yes, UiText(texts_, txConvertToUtf8)},
                     {QMessageBox::No, UiText(texts_, txKeepWindows1252)}};
  if (ShowMessageBox(ask) != QMessageBox::Yes) return TAnswer::Declined;
  std::string backup;
  if (!TEncodingBackup::Keep(path_, backup)) {
    ShowMessageBox(owner, UiText(texts_, txConvertTitle),
                   UiText(texts_, txEncodingBackupFailed) + '\n' + DisplayPath(backup), QMessageBox::Warning,
                   QMessageBox::Ok, true);
    return TAnswer::BackupFailed;
  }
  file_.Encoding = TTextEncoding::Utf8;
  return TAnswer::Converted;
}

void TEncodingOffer::Refuse(QWidget* owner, char32_t bad) const {
  QWidget* window = owner != nullptr ? owner->window() : nullptr;
  ShowMessageBox(window, window != nullptr ? window->windowTitle() : QString(),
                 UiText(texts_, txCharNotStorable) + NamedChar(bad), QMessageBox::Warning, QMessageBox::Ok, true);
}
