#pragma once

class QIcon;
class QToolButton;
class QWidget;

// A flat tool button as the windows' button rows have them: raised only under
// the mouse, never taking the focus (the keys reach the window), with an icon
// of iconSize pixels. hintPause: how long its tooltip stays (ms; -1: Qt's own).
QToolButton* FlatToolButton(QWidget* parent, const char* name, const QIcon& icon, int iconSize, int hintPause = -1);
