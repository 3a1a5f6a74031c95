#pragma once
#include <QIcon>
#include <QStyle>

// The glyphs of the flat buttons of the main window and the settings dialog,
// drawn once per run. QIcon greys them itself for a disabled button.
enum class TGlyph { Run, Settings, Edit, Help, Close, Save };
QIcon Glyph(TGlyph glyph);

// A standard glyph of the application's style, decoded once per run.
QIcon StandardGlyph(QStyle::StandardPixmap glyph);
