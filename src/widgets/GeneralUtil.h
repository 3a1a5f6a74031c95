#pragma once
#include <QMessageBox>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

class QWidget;

// A standard button's text in the learner's language ("&" marks its key).
struct TButtonText {
  QMessageBox::StandardButton button = QMessageBox::NoButton;
  QString text;
};

// What a message box asks; tests answer it through the hook below.

struct TMessageRequest {
  QWidget* owner = nullptr;
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::Information;
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  bool beep = false;
  // Buttons not named here show the box's own text.
  std::vector<TButtonText> buttonTexts;
};

// Beeps first when asked, then shows a modal message box; returns the button
// pressed (a QMessageBox::StandardButton).
int ShowMessageBox(QWidget* owner, const QString& caption, const QString& text, QMessageBox::Icon icon,
                   QMessageBox::StandardButtons buttons = QMessageBox::Ok, bool beep = false);

int ShowMessageBox(const TMessageRequest& request);

// Replaces the real message box (tests record and answer); returns the previous hook.
using TMessageBoxHook = std::function<int(const TMessageRequest&)>;
TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook);

// Greyed: the window cannot be resized (the "Size" entry of the system menu).
void GreySystemMenuItem(QWidget* window, int position, bool grey);

// Inputs and result of fitting a window to the screen, as plain numbers.
struct TFitInput {
  int width = 0;
  int height = 0;
  double dpi = 96;
  int screenWidth = 0;
  int screenHeight = 0;
  int captionHeight = 0;
  int scrollBarHeight = 0;
  int left = 0;
  int top = 0;
  bool centreH = false;
  bool centreV = false;
  bool autoSize = false;
};
struct TFitResult {
  int width = 0;
  int height = 0;
  int left = 0;
  int top = 0;
  bool autoSize = false;
  bool hScrollBar = false;
  bool vScrollBar = false;
  bool scrolled = false;  // the result of FitFormToScreen
};
TFitResult FitGeometry(const TFitInput& in);

// Scales the window to the screen's resolution and keeps it on the screen;
// true when it had to turn on a scroll bar.
bool FitFormToScreen(QWidget* window, bool centreH, bool centreV, bool autoSize);
