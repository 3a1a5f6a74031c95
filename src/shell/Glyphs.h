#pragma once
#include <QIcon>

// The glyphs of the flat buttons of the main window and the settings dialog,
// drawn once per run. QIcon greys them itself for a disabled button.
enum class TGlyph { Run, Settings, Edit, Help, Close, Save };
QIcon Glyph(TGlyph glyph);
