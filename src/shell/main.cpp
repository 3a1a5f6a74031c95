#include <QApplication>
#include <QMessageBox>

#include "widgets/AppStyle.h"
#include "widgets/ExitAfterShow.h"
#include "MainWnd.h"
#include "ProgramDir.h"
#include "SingleInstance.h"
#include "TerminationSignals.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillmere"));
  InstallAppStyle();

  std::string appDir;
  if (!ProgramDir(appDir)) {
    QMessageBox::critical(nullptr, QStringLiteral("Quillmere"),
                          QStringLiteral("Quillmere cannot run from this folder: its path holds a character that "
                                         "Windows-1252 cannot hold.\n") +
                              QCoreApplication::applicationDirPath());
    return 1;
  }

  // One writer per settings file: a second copy only brings the first to the front.
  TSingleInstance instance(appDir + "/Quillmere.Ini");
  if (RefuseSecondCopy(appDir, instance)) return 0;

  tMainWindow window(appDir);
  QObject::connect(&instance, &TSingleInstance::raiseRequested, &window, &tMainWindow::BringToFront);
  if (window.StartAborted()) return 1;
  // A logout or kill closes the program as the learner would, saving all.
  InstallTerminationSignals([&window] { window.CloseOnSignal(); });
  ExitAfterFirstPaintIfAsked(window);
  window.show();
  if (window.StartAborted()) return 1;
  return app.exec();
}
