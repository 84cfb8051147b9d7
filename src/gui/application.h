#pragma once
// Program entry of the desktop program: options, the Session, the main window and the event loop.

#include <optional>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

namespace kelmora::gui {

struct TGuiOptions {
  bool Version = false;
  QString Screenshot;  // --screenshot FILE.png: render the main window after initialisation, exit
  QString Page;        // --page CAPTION: the page active in the screenshot
  QString DataDir;     // --data-dir DIR
  std::vector<std::string> Arguments;  // everything else, for the switches
  QString Error;       // a malformed option
};

// The program's own options; the arguments exclude the program name.
TGuiOptions ParseGuiArguments(const QStringList& arguments);

int RunApplication(int argc, char** argv);

}  // namespace kelmora::gui
