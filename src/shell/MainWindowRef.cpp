#include "MainWindowRef.h"

TMainWindowServices* mainWindow = nullptr;
