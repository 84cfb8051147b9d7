#pragma once
// The dialog "Создание нового списка комбинаций": the generation mode, the numbers or the file
// name, and whether they become the defaults.

#include <functional>
#include <string>

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QToolButton;

namespace kelmora::gui {

class GenerateDialog : public QDialog {
  Q_OBJECT
 public:
  using FileChooser = std::function<QString(const QString& caption, const QString& filter, bool save)>;

  // Opens with the stored defaults; the check box starts unticked.
  GenerateDialog(QWidget* parent, int mode, const std::string& parameter, FileChooser choose_file);

  int Mode() const;
  std::string Parameter() const;
  bool SaveAsDefaults() const;

  QComboBox* ModeBox() const { return mode_; }
  QLineEdit* ParameterEdit() const { return parameter_; }
  QToolButton* BrowseButton() const { return browse_; }
  QCheckBox* DefaultsBox() const { return defaults_; }

 private:
  void UpdateEnabled();

  FileChooser choose_file_;
  QComboBox* mode_;
  QLineEdit* parameter_;
  QToolButton* browse_;
  QCheckBox* defaults_;
};

}  // namespace kelmora::gui
