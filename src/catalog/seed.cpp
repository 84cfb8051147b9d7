#include "catalog/seed.h"

#include <chrono>

#include <fmt/format.h>

#include "catalog/service.h"
#include "catalog/wheels.h"
#include "catalog/wire.h"
#include "net/vendor.h"
#include "support/error.h"
#include "support/text.h"

namespace kelmora::catalog {

namespace {

struct ExampleScript {
  const char* Title;
  const char* Descr;
  const char* Text;
};

// Lines in the script file's own form; the captions after the last "|" name the steps.
constexpr ExampleScript kScripts[] = {
    {"Пример: суммы и числа",
     "Один шаг: по полному списку комбинаций фильтры по числам и комбинациям значений, ставки по первому варианту.",
     "FULL:0#FIRST|TMD1#NUMS:10;20#CMV:5;6#SF:0| | | | | | |полный список"},
    {"Пример: три шага",
     "Сначала сужает полный список, затем дважды фильтрует текущий список и ставит по последнему и по всем "
     "вариантам.",
     "FULL:0#NONE|TMF1#NUMS:10#CMV:3#SF:0| | | | | | |сужение\r\n"
     "CURR:0#LAST|TSF1#NUMS:5#LNO:#ST:1| | | | | | |затем\r\n"
     "CURR:5#ALL|TSF1#NUMS:10#LNO:#SC:3| | | | | | |все варианты текущего"},
};

net::TUserIdentity SeedIdentity() {
  net::TUserIdentity id;
  id.AppVer = KELMORA_VERSION;
  id.InstallId = SeedInstall;
  id.UserName = SeedAuthor;
  id.UserMail = SeedMail;
  return id;
}

// Posts the fields to the service as the program would and returns the answer's one identifier.
int64_t Publish(Service& service, const char* path, net::TFormFields fields, const char* id_element) {
  for (std::string& f : net::IdentityFields(SeedIdentity(), 1049)) fields.push_back(std::move(f));
  const Reply reply = service.Handle(path, net::EncodeForm(fields));
  const auto rows = net::ReadAnswerRows(reply.Body);
  const auto id = rows.empty() ? std::nullopt : support::ParseInt64(net::AnswerElement(rows.back(), id_element));
  if (!id) support::Fail("Не удалось добавить запись каталога: {}", reply.Body);
  return *id;
}

}  // namespace

SeedCounts Seed(Storage& storage, int64_t now) {
  Service service(storage, [now] { return now; });
  SeedCounts counts;
  const std::vector<SystemRecord> existing = storage.ListSystems(4, 8);
  auto exists = [&](const std::string& title) {
    for (const SystemRecord& s : existing)
      if (s.Title == title) return true;
    return false;
  };
  for (int n = 5; n <= 8; ++n) {
    struct Wheel {
      std::string Title;
      std::string Descr;
      int Olap;
      std::vector<WheelRow> Rows;
    };
    const Wheel wheels[] = {
        {fmt::format("Полная система на {} чисел", n),
         fmt::format("Все сочетания четырёх из {} чисел: при любых четырёх выпавших из них одна комбинация "
                     "совпадает полностью.",
                     n),
         0, FullWheel(n)},
        {fmt::format("Сокращённая система на {} чисел (3 из 4)", n),
         fmt::format("Каждые три из {} чисел стоят вместе хотя бы в одной комбинации: если выпали четыре из них, "
                     "есть совпадение не меньше трёх. Построена жадным покрытием.",
                     n),
         3, GreedyCoveringWheel(n, 3)},
    };
    for (const Wheel& w : wheels) {
      if (exists(w.Title)) continue;
      Publish(service, "/scripts/sys_putdata.php",
              {"del_mode=0", "sys_id=-1", fmt::format("nums={}", n), "clen=4", fmt::format("olap={}", w.Olap),
               fmt::format("title={}", net::CEscape(w.Title)), fmt::format("descr={}", net::CEscape(w.Descr)),
               fmt::format("csize={}", w.Rows.size()),
               fmt::format("clist={}", EncodeBase64(net::CEscape(WheelText(w.Rows)))), "url="},
              "id_systems");
      ++counts.Systems;
    }
  }
  for (const ExampleScript& s : kScripts) {
    if (storage.ScriptTitleTaken(s.Title, 0)) continue;
    Publish(service, "/scripts/scr_putscript.php",
            {"del_mode=0", "scr_id=-1", "scr_uniapps=0", "scr_publics=1",
             fmt::format("scr_title={}", net::CEscape(s.Title)), fmt::format("scr_descr={}", net::CEscape(s.Descr)),
             fmt::format("scr_script={}", net::CEscape(s.Text))},
            "id_scripts");
    ++counts.Scripts;
  }
  return counts;
}

SeedCounts SeedDemo(const std::string& db_path) {
  const auto storage = OpenSqliteStorage(db_path);
  const int64_t now =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
  return Seed(*storage, now);
}

}  // namespace kelmora::catalog
