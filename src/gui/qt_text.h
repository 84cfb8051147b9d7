#pragma once
// Conversions between the engine's UTF-8 texts and Qt strings.

#include <string>
#include <string_view>

#include <QString>

namespace kelmora::gui {

inline QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
inline std::string U(const QString& text) { return text.toStdString(); }
// A message text with the system's "\r" line breaks, ready to show.
QString MessageText(std::string_view text);

}  // namespace kelmora::gui
