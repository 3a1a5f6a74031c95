#pragma once
#include <QString>
#include <optional>
#include <string>

class QLineEdit;
class QWidget;

// The field in which the learner names the locale of a language ("de",
// "pt_BR"): typing offers every locale Qt knows that starts so, each with
// its language's own name (Down shows them all); any code may be typed.
QLineEdit* MakeLocaleField(QWidget* parent, const QString& objectName);

// Shows a locale as the field holds it (the code alone).
void ShowLocale(QLineEdit* field, const std::string& locale);

// The locale the field names: its first word, "" for an empty field; none
// when that word cannot stand as a locale in a language file.
std::optional<std::string> LocaleIn(const QLineEdit* field);

// The field's text as the learner sees it, for a message that refuses it.
QString LocaleText(const QLineEdit* field);
