#pragma once
#include <QString>
#include <optional>
#include <string>

class QComboBox;
class QWidget;

// The field in which the learner names the locale of a language ("de",
// "pt_BR"): an editable combo box that offers every locale Qt knows, each
// with its language's own name, and takes any code typed in.
QComboBox* MakeLocaleBox(QWidget* parent, const QString& objectName);

// Shows a locale as the field holds it (the code alone).
void ShowLocale(QComboBox* box, const std::string& locale);

// The locale the field names: its first word, "" for an empty field; none
// when that word cannot stand as a locale in a language file.
std::optional<std::string> LocaleIn(const QComboBox* box);

// The locale as the field shows it, for a message that refuses it.
QString LocaleText(const QComboBox* box);
