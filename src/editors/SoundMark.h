#pragma once
#include <QLabel>
#include <vector>

#include "storage/SoundCheck.h"

class TAppLangHandler;

// A small warning sign beside a sound field: its tooltip and accessible
// description name what is wrong with the sound. Without a fault it is
// hidden and keeps its place, so the fields do not jump.
class TSoundMark : public QLabel {
 public:
  explicit TSoundMark(QWidget* parent);
  void ShowFaults(const std::vector<TSoundFault>& faults, const TAppLangHandler& texts);
};
