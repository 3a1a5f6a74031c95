#include "SaveFailureText.h"

#include "UiText.h"
#include "settings/TextNumbers.h"

QString SaveFailureReason(const TAppLangHandler& texts, const TSaveResult& result) {
  const QString reason = result.Fault == TSaveFault::ForeignLink ? UiText(texts, txForeignLink)
                                                                  : QString::fromLocal8Bit(result.Reason);
  return UiText(texts, txReason) + ' ' + reason;
}
