#pragma once
#include <QString>

// What the screenshot tools share: a copy of the program directory to take
// the pictures on (without its programs), and its copying.
bool CopyTree(const QString& from, const QString& to);
