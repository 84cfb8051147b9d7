#pragma once
// Spreadsheet export of a list as displayed: the column captions, then every row's cell texts, in
// a real .xlsx workbook whose sheet name and title are the list's caption.

#include <string>

class QAbstractItemModel;
class QString;

namespace kelmora::gui {

// Writes the model's header captions and display texts to the file. Throws support::Error when the
// workbook cannot be written.
void ExportModelToXlsx(const QAbstractItemModel& model, const QString& title, const QString& path);

}  // namespace kelmora::gui
