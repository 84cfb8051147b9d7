#include "shell/host.h"

#include <fmt/format.h>

#include "support/text.h"

namespace kelmora::shell {

std::string_view MessageCaption(MessageKind kind) {
  switch (kind) {
    case MessageKind::Error: return "Ошибка";
    case MessageKind::Information: return "Информация";
    case MessageKind::Attention: return "Внимание!";
    case MessageKind::Warning: return "Предупреждение";
    case MessageKind::Confirmation: return "Подтверждение";
  }
  return "";
}

bool Host::ConfirmDelete(int count) {
  const std::string text =
      count == 1 ? std::string("Удалить выделенную запись?")
                 : fmt::format("Удалить все выделенные записи (всего будет удалено {} записи(ей))?", count);
  return AskYesNo(MessageKind::Warning, text, false);
}


}  // namespace kelmora::shell
