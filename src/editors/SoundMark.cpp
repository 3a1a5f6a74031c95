#include "SoundMark.h"

#include <QStyle>

#include "settings/AppLangHandl.h"
#include "settings/TextNumbers.h"
#include "widgets/UiText.h"

namespace {
int TextOf(TSoundFault fault) {
  switch (fault) {
    case TSoundFault::Missing: return txSoundFileMissing;
    case TSoundFault::NotWave: return txSoundNotWave;
    case TSoundFault::Silent: return txSoundSilent;
    case TSoundFault::Clipped: return txSoundClipped;
    case TSoundFault::TooLong: return txSoundTooLong;
    case TSoundFault::TooShort: return txSoundTooShort;
    case TSoundFault::TooLoud: return txSoundTooLoud;
    case TSoundFault::TooQuiet: return txSoundTooQuiet;
  }
  return txSoundNotWave;
}
}  // namespace

TSoundMark::TSoundMark(QWidget* parent) : QLabel(parent) {
  const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
  setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(size, size));
  QSizePolicy policy = sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  setSizePolicy(policy);
  setVisible(false);
}

void TSoundMark::ShowFaults(const std::vector<TSoundFault>& faults, const TAppLangHandler& texts) {
  QStringList lines;
  for (const TSoundFault fault : faults) lines << UiText(texts, TextOf(fault));
  const QString said = lines.join(QStringLiteral("\n"));
  setToolTip(said);
  setAccessibleDescription(said);
  setVisible(!faults.empty());
}
