#pragma once
#include <QString>

#include "settings/AppLangHandl.h"
#include "storage/DurableFile.h"

// The line a save-failure message adds: "Reason: " and why the file could
// not be written, in the interface language where the reason is ours and as
// the system words it otherwise.
QString SaveFailureReason(const TAppLangHandler& texts, const TSaveResult& result);
