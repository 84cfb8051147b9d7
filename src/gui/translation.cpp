#include "gui/translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>
#include <QTranslator>

namespace kelmora::gui {

const char* QtLocaleName(int lcid) {
  switch (lcid) {
    case 1049: return "ru";
    case 1033:
    case 2057: return "en";
    case 1058: return "uk";
    case 1059: return "be";
    case 1087: return "kk";
    case 1031: return "de";
    case 1036: return "fr";
    case 1045: return "pl";
    default: return "";
  }
}

InstalledTranslation::InstalledTranslation(const shell::TInterfaceLanguage& language) {
  auto install = [this](std::unique_ptr<QTranslator> translator) {
    QCoreApplication::installTranslator(translator.get());
    translators_.push_back(std::move(translator));
  };
  if (!language.Translation.empty()) {
    auto own = std::make_unique<QTranslator>();
    // A file that does not load leaves the built-in texts; the menu still lists the language.
    if (own->load(QString::fromStdString(language.Translation.string()))) {
      install(std::move(own));
      program_loaded_ = true;
    }
  }
  // Qt's own texts (standard buttons, file dialogs) in the same language, where Qt ships them.
  const QString locale = QString::fromLatin1(QtLocaleName(language.Lcid));
  if (!locale.isEmpty() && locale != QStringLiteral("en")) {
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QStringLiteral("qtbase_") + locale, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
      install(std::move(qt));
  }
}

InstalledTranslation::~InstalledTranslation() {
  for (auto& translator : translators_) QCoreApplication::removeTranslator(translator.get());
}

}  // namespace kelmora::gui
