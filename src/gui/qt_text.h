#pragma once
// Conversions between the engine's UTF-8 texts and Qt strings.

#include <string>
#include <string_view>

#include <QCoreApplication>
#include <QString>

namespace kelmora::gui {

inline QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
inline std::string U(const QString& text) { return text.toStdString(); }
// An interface text (captions, menus, page titles): its translation when the interface language
// has a translation file loaded, else the built-in Russian text.
inline QString Tr(const char* text) { return QCoreApplication::translate("Kelmora", text); }
// A message text with the system's "\r" line breaks, ready to show.
QString MessageText(std::string_view text);

}  // namespace kelmora::gui
