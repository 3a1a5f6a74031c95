#pragma once
#include <QString>
#include <string>

#include "session/LessonRows.h"

class QEvent;
class QLineEdit;
class QWidget;
class TAppLangHandler;

// The text of a field as stored (UTF-8); false when it holds half a character
// (a lone surrogate) or a character that would split the stored line. Silent.
bool FieldText(const QLineEdit* field, TStoredField kind, std::string& out);

// A character as messages name it, after a blank: " "x" (U+0078)". The code
// point tells it even where the message's font has no glyph (an empty box).
QString NamedChar(char32_t code);

// The same as FieldText, but a refused character gives a beep, a message naming it (caption
// of the owner) and the focus back in the field once the event in progress
// has ended.
bool CheckField(QLineEdit* field, TStoredField kind, const TAppLangHandler& texts, std::string& out);

// Puts the focus back into a field once the event in progress has ended.
// While it moves there, FocusReturning is true: the field the focus leaves
// then must not check itself, or two fields would pull the focus to and fro.
void ReturnFocus(QWidget* field);
bool FocusReturning();

// Whether the event is the learner leaving a field that checks itself: the
// focus going to another control of its window. Another window taking the
// keyboard (a message box, a menu, another program) leaves the field where it
// is; checking then would show a second message over the first.
bool LeavesField(const QEvent* event);

// A stored name as a path of the file system here, for dialogs.
QString DisplayPath(const std::string& stored);

// A path chosen in a file dialog as a stored name: the file system's bytes,
// whatever characters the name holds.
std::string StoredFileName(const QString& path);
