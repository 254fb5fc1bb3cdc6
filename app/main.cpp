// kamo: the program. It takes no arguments and works on the data files of the
// current directory.
#include <QApplication>

#include "dictionary/globals.h"
#include "framework/window_manager.h"
#include "kamoapp.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  fw::installFontSubstitutes();
  static fw::MessageBoxSink messageBoxes;
  GlobalErrors.SetSink(&messageBoxes);
  EntryPoint();
  return 0;
}
