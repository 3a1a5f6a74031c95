#pragma once
class QLabel;
class QString;
class QWidget;

// Names for screen readers. A control without an accessible name is read by
// its role alone ("button", "edit"), or a field by its group's title; each
// control is named where its window applies the interface texts, so the
// names follow a switch of the interface language.

// An icon-only button or a control without a label of its own: named after
// its tooltip, which says what it does.
void NameAfterToolTip(QWidget* control);
// A field and the label before it: the label points to the field (its
// shortcut moves there) and the field carries the label's text as its name.
void TieToLabel(QLabel* label, QWidget* field);
// The two arrow buttons that step a number field: named after the field and
// the step ("Lesson: one more").
void NameStepButtons(QWidget* up, QWidget* down, const QWidget* field, const QString& more, const QString& less);

