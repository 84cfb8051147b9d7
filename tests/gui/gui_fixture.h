#pragma once
// A whole desktop program on a temporary data folder: unattended host, Session and main window,
// started as the program starts them.

#include <functional>
#include <memory>

#include <QApplication>
#include <QLayout>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "common/temp_dir.h"
#include "gui/main_window.h"
#include "gui/qt_host.h"
#include "shell/session.h"

namespace kelmora::gui::testing {

QStringList& QtWarnings();

struct Program {
  explicit Program(const std::filesystem::path& dir, std::vector<std::string> arguments = {}) : host(true) {
    shell::SessionOptions options;
    options.DataDir = dir;
    options.Arguments = std::move(arguments);
    session = std::make_unique<shell::Session>(host, options);
    window = std::make_unique<MainWindow>(*session, host);
  }
  // Creation, show, then the initialisation tick; returns what Initialise returned.
  bool Start() {
    session->Create();
    window->RestoreViewState();
    window->layout()->activate();
    window->show();
    QApplication::processEvents();
    return window->Initialise();
  }
  // Destruction as at program end.
  void Stop() {
    window.reset();
    session.reset();
  }

  QtHost host;
  std::unique_ptr<shell::Session> session;
  std::unique_ptr<MainWindow> window;
};

// Runs `act` on the modal dialog of type T once it is up (the command that opens it blocks).
template <typename T>
void WhenDialogOpens(std::function<void(T*)> act, int tries = 500) {
  QTimer::singleShot(0, [act, tries] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!dialog) {
      if (tries > 0) WhenDialogOpens<T>(act, tries - 1);  // not up yet
      return;
    }
    act(dialog);
  });
}

}  // namespace kelmora::gui::testing
