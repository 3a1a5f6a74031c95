// The floor for the start-up benchmark: a Qt Widgets program that shows one
// empty QMainWindow and, like the program, ends after its first painting
// when QUILLMERE_EXIT_AFTER_SHOW is set.
#include <QApplication>
#include <QMainWindow>

#include "widgets/ExitAfterShow.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QMainWindow window;
  ExitAfterFirstPaintIfAsked(window);
  window.show();
  return app.exec();
}
