#pragma once
// Loads the interface language's translations for as long as the object lives: the program's own
// file (none for the built-in Russian) and Qt's translation of its standard dialogs.

#include <memory>
#include <vector>

#include "shell/languages.h"

class QTranslator;

namespace kelmora::gui {

class InstalledTranslation {
 public:
  explicit InstalledTranslation(const shell::TInterfaceLanguage& language);
  ~InstalledTranslation();
  InstalledTranslation(const InstalledTranslation&) = delete;
  InstalledTranslation& operator=(const InstalledTranslation&) = delete;

  // Whether the program's own translation file was loaded (false for the built-in language).
  bool ProgramTranslationLoaded() const { return program_loaded_; }

 private:
  std::vector<std::unique_ptr<QTranslator>> translators_;
  bool program_loaded_ = false;
};

// The Qt locale name of a Windows language identifier ("ru", "en"); empty when unknown.
const char* QtLocaleName(int lcid);

}  // namespace kelmora::gui
