#include "gui/filter_help_dialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "gui/window_placement.h"
#include "shell/session.h"
#include "support/platform.h"

namespace kelmora::gui {

namespace {

constexpr const char* PlacementSection = "TFormFilterHelp";

// "file:///folder/page.html#TOPIC" as a local-file URL, so folders with blanks or Cyrillic letters
// are read as they are.
QUrl PageUrl(std::string_view url) {
  constexpr std::string_view scheme = "file://";
  if (url.substr(0, scheme.size()) != scheme) return QUrl(Q(url));
  std::string_view rest = url.substr(scheme.size());
  const size_t hash = rest.rfind('#');
  QUrl out = QUrl::fromLocalFile(Q(rest.substr(0, hash)));
  if (hash != std::string_view::npos) out.setFragment(Q(rest.substr(hash + 1)));
  return out;
}

}  // namespace

FilterHelpDialog::FilterHelpDialog(QWidget* parent, shell::Session& session, std::string_view url)
    : QDialog(parent), session_(session) {
  setObjectName(QString::fromLatin1(PlacementSection));
  setWindowTitle(QStringLiteral("Описание методики расчета"));
  auto* layout = new QVBoxLayout(this);
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("wbHelp"));
  browser_->setOpenLinks(true);
  browser_->setOpenExternalLinks(true);
  layout->addWidget(browser_, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  resize(680, 560);
  session_.Reported("", [&] {
    if (RestoreWindowPlacement(session_.View(), PlacementSection, *this)) setWindowState(Qt::WindowMaximized);
  });
  if (!url.empty()) ShowPage(PageUrl(url));
}

void FilterHelpDialog::ShowPage(const QUrl& url) {
  // The page opens at its top, where the family is described; the method's own row is selected and
  // scrolled into view only when the page is longer than the window.
  QUrl page = url;
  page.setFragment(QString());
  browser_->setSource(page);
  const QString topic = url.fragment();
  if (topic.isEmpty()) return;
  QTextDocument* document = browser_->document();
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      if (!it.fragment().charFormat().anchorNames().contains(topic)) continue;
      QTextCursor cursor(document);
      cursor.setPosition(it.fragment().position());
      cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
      browser_->setTextCursor(cursor);
      return;
    }
  }
}

void FilterHelpDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Only now has the view its size, so only now does it know whether the row is out of sight.
  browser_->ensureCursorVisible();
}

void FilterHelpDialog::done(int result) {
  session_.Reported("Ошибка сохранения параметров программы!",
                    [&] { SaveWindowPlacement(session_.View(), PlacementSection, *this); });
  QDialog::done(result);
}

std::filesystem::path FilterHelpFolder(const std::filesystem::path& exe_dir) {
  const std::filesystem::path folders[] = {exe_dir / "help", exe_dir.parent_path() / "help",
                                           exe_dir.parent_path() / "share" / "kelmora_4r32" / "help"};
  for (const auto& folder : folders) {
    std::error_code ec;
    if (std::filesystem::is_directory(folder / "filters", ec)) return folder;
  }
  return {};
}

std::filesystem::path FilterHelpFolder() { return FilterHelpFolder(support::ExecutableDir()); }

}  // namespace kelmora::gui
