#pragma once
#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>

#include "HelpFile.h"

class QAction;
class QKeyEvent;
class QTextBrowser;
class QToolButton;
class TAppLangHandler;

// The help window: shows the topics of the help file by keyword or by help
// context number, in the interface language.
class THelpWindow : public QWidget {
  Q_OBJECT

 public:
  THelpWindow(QWidget* owner, const THelpFile& file);
  void ShowTopic(const THelpTopic& topic);
  QString CurrentKeyword() const { return current_; }
  void ApplyTexts();
  // Shows the current topic again (in the language now in force).
  void Reload();

 protected:
  // Escape closes the help, as in the other windows.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const THelpFile& file_;
  QTextBrowser* browser_ = nullptr;
  QToolButton* btnBack_ = nullptr;
  QToolButton* btnContents_ = nullptr;
  QString current_;
};

// The program's help, set up by the main window. Every window opens its
// topics through these functions.
void SetHelpFile(const std::string& storedPath);
void SetHelpLanguage(const std::string& code);
// The text table the help window takes its caption and buttons from.
void SetHelpTexts(const TAppLangHandler* texts);
// Opens the topic (reads the file at the first use); a missing topic or file
// is reported in a message box.
void ShowHelpTopic(QWidget* owner, const QString& keyword);
void ShowHelpContext(QWidget* owner, int context);
// Closes the help window if it is open.
void CloseHelp();
// The help window while it is open (tests look at it).
THelpWindow* OpenHelpWindow();

// F1 on a widget opens the help context of the nearest widget (itself or a
// parent) that has one.
void SetHelpContext(QWidget* widget, int context);
// F1 while the menu item is highlighted.
void SetHelpContext(QAction* item, int context);
int HelpContextOf(const QWidget* widget);
// Installs the F1 handling on the application (once).
void InstallHelpKey();
