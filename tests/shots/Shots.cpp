// Takes the README's screenshots of the main window (English and German) and
// of the general settings dialog from the real windows, on a copy of the
// bundled program directory: quillmere-shots PROGRAM_DIR OUT_DIR
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstdio>

#include "ShotFiles.h"
#include "settings/AppIniFile.h"
#include "widgets/HelpWnd.h"
#include "shell/MainWnd.h"
#include "shell/PropertyDlg.h"

namespace {
bool Save(QWidget* window, const QString& file) {
  QCoreApplication::processEvents();
  const bool ok = window->grab().save(file);
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(file));
  return ok;
}
}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: quillmere-shots PROGRAM_DIR OUT_DIR\n");
    return 2;
  }
  QTemporaryDir dir;
  if (!CopyTree(QString::fromLocal8Bit(argv[1]), dir.path())) return 1;
  // The copied settings name the demo file of the copy.
  QFile::remove(dir.filePath("Quillmere.Ini"));
  QFile ini(dir.filePath("Quillmere.Ini"));
  if (!ini.open(QIODevice::WriteOnly)) return 1;
  ini.write("[Application]\nLanguage=EN\n[Exercise]\nLangFileName=" +
            dir.filePath("LangFiles/Eng_Ger/english_german.lang").toUtf8() +
            "\nLang1=English\nLang2=German\nFirstLang=True\nMaxWords=20\n"
            "[AvailableUnits]\n0=1\n1=2\nNbrUnits=2\n");
  ini.close();

  const QString out = QString::fromLocal8Bit(argv[2]);
  tMainWindow window(dir.path().toStdString());
  if (window.StartAborted()) return 1;
  window.show();
  bool ok = Save(&window, out + "/main-window-en.png");
  {
    TDlgProperty dlg(&window, window.GetLangHandler(), window.GetIniFile());
    dlg.show();
    ok = Save(&dlg, out + "/general-settings-en.png") && ok;
  }
  window.findChild<QAction*>("mAppGerman")->trigger();
  ok = Save(&window, out + "/main-window-de.png") && ok;
  {
    TDlgProperty dlg(&window, window.GetLangHandler(), window.GetIniFile());
    dlg.show();
    ok = Save(&dlg, out + "/general-settings-de.png") && ok;
  }
  window.findChild<QToolButton*>("btnHelp")->click();
  if (THelpWindow* help = OpenHelpWindow()) ok = Save(help, out + "/help-window-de.png") && ok;
  return ok ? 0 : 1;
}
