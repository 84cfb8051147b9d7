// `kelmora draws download`, `kelmora proxy find` and `kelmora config set`.

#include <array>

#include "cli/app.h"

namespace kelmora::cli {

namespace {

CLI::App* FindSubcommand(CLI::App& app, const char* name) {
  for (CLI::App* sub : app.get_subcommands({}))
    if (sub->get_name() == name) return sub;
  return nullptr;
}

}  // namespace

void RegisterNetworkCommands(CLI::App& app, CliContext& ctx) {
  if (CLI::App* draws = FindSubcommand(app, "draws")) {
    auto url = std::make_shared<std::string>();
    auto* download = draws->add_subcommand(
        "download", "Загрузить новые тиражи из файла результатов лотереи (адрес: параметр ResultsUrl секции NETWORK)");
    download->add_option("--url", *url, "Адрес файла результатов вместо параметра ResultsUrl");
    download->callback([&ctx, url] {
      // No one answers a question here: a failed fetch is a failed command, and the archive stays.
      const int n = ctx.OpenSession(CliContext::Access::Write).DownloadDraws(*url, false);
      if (n >= 0) ctx.Out() << n << "\n";
    });
  }

  auto* proxy = app.add_subcommand("proxy", "Proxy-серверы");
  proxy->require_subcommand(1);
  auto https = std::make_shared<bool>(false);
  auto* find = proxy->add_subcommand(
      "find", "Найти proxy-серверы через сервис списков (адрес: параметр ProxyListUrl секции NETWORK), по одному в строке");
  find->add_flag("--https", *https, "Только серверы для адресов https://");
  find->callback([&ctx, https] {
    const auto found = ctx.OpenSession().FindProxies(*https);
    if (!found) return;
    for (const auto& entry : *found) ctx.Out() << entry << "\n";
  });

  if (CLI::App* config = FindSubcommand(app, "config")) {
    auto words = std::make_shared<std::array<std::string, 3>>();
    auto* set = config->add_subcommand("set", "Записать значение ключа конфигурации");
    set->add_option("SECTION", (*words)[0], "Секция (как в config show)")->required();
    set->add_option("KEY", (*words)[1], "Ключ")->required();
    set->add_option("VALUE", (*words)[2], "Значение (пустое — \"\")")->required();
    set->callback([&ctx, words] {
      auto& session = ctx.OpenSession(CliContext::Access::Write);
      session.SetConfigValue((*words)[0], (*words)[1], (*words)[2]);
    });
  }
}

}  // namespace kelmora::cli
