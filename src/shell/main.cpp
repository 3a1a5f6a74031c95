#include <QApplication>
#include <QMessageBox>

#include "widgets/AppStyle.h"
#include "widgets/ExitAfterShow.h"
#include "settings/AppFolders.h"
#include "MainWnd.h"
#include "ProgramDir.h"
#include "SingleInstance.h"
#include "TerminationSignals.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillmere"));
  // The desktop entry's name, so the window is matched to its menu entry.
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.quillmere.Quillmere"));
  InstallAppStyle();

  const TAppFolders folders = FindAppFolders(ProgramDir());
  // Installed, the first start makes the learner's folders, settings and
  // demo lessons, so it is ready to drill.
  QString unwritable;
  if (!PrepareLearnerFolders(folders, unwritable)) {
    QMessageBox::critical(nullptr, QStringLiteral("Quillmere"),
                          QStringLiteral("Quillmere cannot make your settings file:\n") + unwritable);
    return 1;
  }

  // One writer per settings file: a second copy only brings the first to the front.
  TSingleInstance instance(folders.Settings + "/Quillmere.Ini");
  if (RefuseSecondCopy(folders, instance)) return 0;

  tMainWindow window(folders);
  QObject::connect(&instance, &TSingleInstance::raiseRequested, &window, &tMainWindow::BringToFront);
  if (window.StartAborted()) return 1;
  // A logout or kill closes the program as the learner would, saving all.
  InstallTerminationSignals([&window] { window.CloseOnSignal(); });
  ExitAfterFirstPaintIfAsked(window);
  window.show();
  if (window.StartAborted()) return 1;
  return app.exec();
}
