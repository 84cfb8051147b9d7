#pragma once
// The online script catalogue under the script list: the filter box, the download, publish and
// replace buttons, and the catalogue view (sortable, initially by "Рейтинг"). The panel registers
// the library commands; the entries themselves live in the Session's LibraryState.

#include <functional>
#include <optional>

#include <QAbstractTableModel>
#include <QWidget>

#include "net/script_library.h"
#include "shell/library_state.h"

class QComboBox;
class QSortFilterProxyModel;
class QTableView;

namespace kelmora::shell {
class Session;
}

namespace kelmora::gui {

class CommandActions;
class QtHost;

// The catalogue view's rows: one per entry in the answer's order. The sort role gives numbers
// for the numeric columns.
class LibraryModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  static constexpr int SortRole = Qt::UserRole + 1;
  LibraryModel(shell::Session& session, QObject* parent);
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void Refresh();

 private:
  shell::Session& session_;
  int rows_ = 0;
};

class LibraryPanel : public QWidget {
  Q_OBJECT
 public:
  LibraryPanel(QWidget* parent, shell::Session& session, QtHost& host, CommandActions& commands);

  // The entries or the selection changed in the Session: rows, selection, visibility.
  void Refresh();
  // Selects the entry (its row in the Session's list), -1 for none.
  void SelectEntry(int entry);

  QTableView* List() const { return list_; }
  QComboBox* FilterBox() const { return filter_; }
  LibraryModel* Model() const { return model_; }
  QSortFilterProxyModel* Sorted() const { return sorted_; }

  // The properties dialog (TFormScrPublic); tests may replace it.
  shell::LibraryState::EditProperties EditProperties;

 signals:
  void SelectionChanged();

 private:
  void RegisterCommands();
  void ShowRates();
  void ShowContextMenu(const QPoint& pos);
  void TakeSelection();

  shell::Session& session_;
  QtHost& host_;
  CommandActions& commands_;
  QComboBox* filter_;
  QTableView* list_;
  LibraryModel* model_;
  QSortFilterProxyModel* sorted_;
  int refreshing_ = 0;
};

}  // namespace kelmora::gui
