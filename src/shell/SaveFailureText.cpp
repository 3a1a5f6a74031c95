#include "SaveFailureText.h"

#include "UiText.h"

QString SaveFailureReason(const TAppLangHandler& texts, const TSaveResult& result) {
  const QString reason = result.Fault == TSaveFault::ForeignLink ? UiText(texts, 161)
                                                                  : QString::fromLocal8Bit(result.Reason);
  return UiText(texts, 162) + ' ' + reason;
}
