// The GUI tests run on the offscreen platform inside one QApplication. Every Qt warning is kept,
// so a test can require that start-up and exit produce none.

#include <cstdlib>
#include <filesystem>

#include <QApplication>
#include <gtest/gtest.h>

#include "gui/gui_fixture.h"

namespace kelmora::gui::testing {

QStringList& QtWarnings() {
  static QStringList warnings;
  return warnings;
}

namespace {

void KeepWarnings(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type != QtDebugMsg && type != QtInfoMsg) QtWarnings() << text;
}

}  // namespace
}  // namespace kelmora::gui::testing

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt asks for a private runtime folder; give it one so its absence is not reported.
  const auto runtime = std::filesystem::temp_directory_path() / "kelmora-gui-tests-runtime";
  std::filesystem::create_directories(runtime);
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
  qputenv("XDG_RUNTIME_DIR", QByteArray(runtime.string().c_str()));
  qInstallMessageHandler(kelmora::gui::testing::KeepWarnings);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
