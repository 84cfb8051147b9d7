#include "gui/xlsx_export.h"

#include <QAbstractItemModel>
#include <QString>
#include <xlsxwriter.h>

#include "gui/qt_text.h"
#include "support/error.h"

namespace kelmora::gui {

void ExportModelToXlsx(const QAbstractItemModel& model, const QString& title, const QString& path) {
  const std::string file = path.toStdString();
  lxw_workbook* book = workbook_new(file.c_str());
  if (!book) support::Fail("Не удалось создать файл \"{}\"", file);
  // Sheet names are at most 31 characters and may not hold some punctuation; the caption fits.
  const std::string sheet_name = U(title.left(31));
  lxw_worksheet* sheet = workbook_add_worksheet(book, sheet_name.c_str());
  std::string title_text = U(title);
  lxw_doc_properties properties{};
  properties.title = title_text.data();
  workbook_set_properties(book, &properties);
  lxw_format* bold = workbook_add_format(book);
  format_set_bold(bold);

  const int columns = model.columnCount();
  const int rows = model.rowCount();
  for (int c = 0; c < columns; ++c) {
    const std::string caption = U(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), caption.c_str(), bold);
  }
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      const std::string text = U(model.data(model.index(r, c), Qt::DisplayRole).toString());
      worksheet_write_string(sheet, static_cast<lxw_row_t>(r + 1), static_cast<lxw_col_t>(c), text.c_str(), nullptr);
    }
  }
  const lxw_error result = workbook_close(book);
  if (result != LXW_NO_ERROR) support::Fail("Не удалось записать файл \"{}\": {}", file, lxw_strerror(result));
}

}  // namespace kelmora::gui
