#pragma once
// The online library's dialogs: the script properties (TFormScrPublic, "Свойства сценария"), the
// ratings window (TFormScrRates, "Оценки пользователей") and the update dialog
// (TfrmUpdateInformer, "Найдена новая версия программы").

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QDialog>

#include "net/script_library.h"
#include "net/self_update.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace kelmora::gui {

// TFormScrPublic: edits a copy of the data. Read-only shows it with every field disabled and no
// OK. An editable dialog checks with `validate` on OK and stays open while it fails; `focus`
// tells which field to focus then ("title" or "author").
class ScriptPropertiesDialog : public QDialog {
  Q_OBJECT
 public:
  using Validate = std::function<std::optional<std::string>(const net::tScriptData&)>;
  ScriptPropertiesDialog(QWidget* parent, const net::tScriptData& data, bool editable, int fallback_lcid,
                         Validate validate);

  // The data as the user left it: Title and Author trimmed, the language chosen (the fallback
  // when none is), Universal the second applicability, Public the first availability choice.
  net::tScriptData Result() const;
  void accept() override;

  QLineEdit* TitleEdit() const { return title_; }
  QLineEdit* AuthorEdit() const { return author_; }
  QComboBox* LanguageBox() const { return language_; }
  QRadioButton* OnlyHere() const { return only_here_; }
  QRadioButton* AnyProgram() const { return any_program_; }
  QRadioButton* Everyone() const { return everyone_; }
  QRadioButton* OnlyMe() const { return only_me_; }
  QPlainTextEdit* DescrEdit() const { return descr_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

 private:
  net::tScriptData data_;
  int fallback_;
  Validate validate_;
  QLineEdit* title_;
  QLineEdit* author_;
  QComboBox* language_;
  QRadioButton* only_here_;
  QRadioButton* any_program_;
  QRadioButton* everyone_;
  QRadioButton* only_me_;
  QPlainTextEdit* descr_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

// TFormScrRates: the ratings list ("Имя", "Оценка", "Дата", "Программа", "Версия", "Комментарии"),
// sortable, and one button "Закрыть".
class ScriptRatesDialog : public QDialog {
  Q_OBJECT
 public:
  ScriptRatesDialog(QWidget* parent, const std::vector<net::TScriptRate>& rates);
  QTableWidget* List() const { return list_; }

 private:
  QTableWidget* list_;
};

// TfrmUpdateInformer: the running and the offered version and the notes; "Установить" accepts.
class UpdateInformerDialog : public QDialog {
  Q_OBJECT
 public:
  UpdateInformerDialog(QWidget* parent, const std::string& running_version, const net::TUpdateVersionInfo& offer,
                       const std::vector<std::string>& notes);
  QPlainTextEdit* Notes() const { return notes_; }
  QPushButton* InstallButton() const { return install_; }

 private:
  QPlainTextEdit* notes_;
  QPushButton* install_;
};

}  // namespace kelmora::gui
