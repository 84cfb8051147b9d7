#include "gui/application.h"

#include <cstdio>
#include <string_view>

#include <QApplication>
#include <QElapsedTimer>
#include <QLayout>
#include <QLocale>
#include <QPixmap>
#include <QThread>
#include <QTimer>

#include "gui/main_window.h"
#include "gui/menu_layout.h"
#include "gui/translation.h"
#include "gui/qt_host.h"
#include "gui/qt_text.h"
#include "shell/languages.h"
#include "shell/session.h"
#include "shell/switches.h"
#include "support/platform.h"

namespace kelmora::gui {

TGuiOptions ParseGuiArguments(const QStringList& arguments) {
  TGuiOptions options;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    auto value = [&](QString& out) {
      if (i + 1 >= arguments.size()) {
        options.Error = QStringLiteral("%1 needs a value").arg(a);
        return;
      }
      out = arguments[++i];
    };
    if (a == QStringLiteral("--version"))
      options.Version = true;
    else if (a == QStringLiteral("--screenshot"))
      value(options.Screenshot);
    else if (a == QStringLiteral("--page"))
      value(options.Page);
    else if (a == QStringLiteral("--data-dir"))
      value(options.DataDir);
    else
      options.Arguments.push_back(U(a));
  }
  return options;
}

namespace {

char LocaleDecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  return point.size() == 1 && point[0].unicode() < 128 ? static_cast<char>(point[0].unicode()) : '.';
}

// After a restart the older instance may still be ending: wait up to about 60 s for it.
bool WaitForOlderInstance() {
  const std::string name = support::ExecutableName();
  for (int attempt = 0; attempt < 601; ++attempt) {
    if (!support::OtherProcessRunning(name)) return true;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 100) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      QThread::msleep(10);
    }
  }
  return false;
}

int TakeScreenshot(MainWindow& window, const TGuiOptions& options) {
  if (!options.Page.isEmpty() && !window.SelectPage(options.Page)) {
    std::fprintf(stderr, "no page \"%s\"; pages: %s\n", U(options.Page).c_str(),
                 U(window.PageCaptions().join(QStringLiteral(", "))).c_str());
    return 2;
  }
  QCoreApplication::processEvents();
  if (!window.grab().save(options.Screenshot, "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", U(options.Screenshot).c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int RunApplication(int argc, char** argv) {
  // Answered before any window system is needed.
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--version") {
      std::printf("Kelmora_4r32 %s\n", KELMORA_VERSION);
      return 0;
    }
    if (std::string_view(argv[i]) == "--commands") {
      const std::string table = CommandTableTsv();
      std::fwrite(table.data(), 1, table.size(), stdout);
      return std::fflush(stdout) == 0 ? 0 : 1;
    }
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(shell::ProgramName));
  QApplication::setApplicationVersion(QString::fromLatin1(KELMORA_VERSION));
  const TGuiOptions options = ParseGuiArguments(QApplication::arguments().mid(1));
  if (!options.Error.isEmpty()) {
    std::fprintf(stderr, "%s\nusage: Kelmora_4r32 [--data-dir DIR] [--screenshot FILE.png [--page CAPTION]] [--version] [--commands]\n",
                 U(options.Error).c_str());
    return 2;
  }
  const bool unattended = !options.Screenshot.isEmpty();

  shell::SessionOptions session_options;
  session_options.DataDir =
      options.DataDir.isEmpty() ? support::DefaultDataDir() : std::filesystem::path(U(options.DataDir));
  session_options.DecimalSeparator = LocaleDecimalSeparator();
  session_options.Arguments = options.Arguments;
  if (shell::HasSwitch(session_options.Arguments, shell::SwitchRestart) && !WaitForOlderInstance()) return 1;

  QtHost host(unattended);
  shell::Session session(host, session_options);
  host.SetViewState(&session.View());
  // The translation goes in before the window exists: its captions are taken when it is built.
  const InstalledTranslation translation(shell::ChooseLanguage(session, support::ExecutableDir()).Active);
  MainWindow window(session, host);
  session.Create();
  window.RestoreViewState();
  // Settles the layout's size constraints before the platform window exists, so showing it does
  // not have to push size hints to the window system afterwards.
  window.layout()->activate();
  window.show();

  int code = 0;
  QTimer::singleShot(100, &window, [&] {
    if (!window.Initialise()) {
      code = session.TerminateRequested() ? 1 : 0;
      QCoreApplication::exit(code);
      return;
    }
    if (unattended) {
      code = TakeScreenshot(window, options);
      QCoreApplication::exit(code);
    }
  });
  const int loop = app.exec();
  return code ? code : loop;
}

}  // namespace kelmora::gui
