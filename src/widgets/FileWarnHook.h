#pragma once

// Shows the missing-file warning of FileExistsWarn as a message box with a
// beep; the owner handed to the core is the QWidget* of the window.
void InstallFileWarnHook();
