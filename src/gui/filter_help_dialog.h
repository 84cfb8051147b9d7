#pragma once
// "Описание методики расчета": the description page of a statistic method in a text browser. The
// pages are HTML files of the help folder (help/filters/<family>.html, one per family of methods).

#include <filesystem>
#include <string_view>

#include <QDialog>

class QTextBrowser;
class QUrl;

namespace kelmora::shell {
class Session;
}

namespace kelmora::gui {

class FilterHelpDialog : public QDialog {
  Q_OBJECT
 public:
  // Shows the page at url ("file://...#topic" as TStatMethod::HelpURL makes it) from its top, the
  // topic's row selected; an empty url leaves the view blank. The placement is read from and, when the dialog closes, written to the view
  // state's section "TFormFilterHelp" (a failure to write it is shown).
  FilterHelpDialog(QWidget* parent, shell::Session& session, std::string_view url);

  QTextBrowser* Browser() const { return browser_; }
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowPage(const QUrl& url);

  shell::Session& session_;
  QTextBrowser* browser_;
};

// The folder whose "filters" subfolder holds the description pages, looked up beside the program
// like the user guide: exe_dir/help, exe_dir/../help, exe_dir/../share/kelmora_4r32/help. Empty
// when none has them.
std::filesystem::path FilterHelpFolder(const std::filesystem::path& exe_dir);
std::filesystem::path FilterHelpFolder();

}  // namespace kelmora::gui
