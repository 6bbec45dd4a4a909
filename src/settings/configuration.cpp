#include "settings/configuration.h"

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables.h"
#include "runtime/fixed_text.h"
#include "runtime/ini_file.h"

namespace plorix::settings {
namespace {

constexpr std::string_view kSection = "Settings";

// Positions the buffer on `key`; the store's code.
int find(store::Table& table, std::string_view key) {
    auto& rec = table.rec<data::Configuration>();
    rec.DATATYPE = key;
    return table.get(data::keys::Configuration::KEYDATATYPE);
}

int addRecord(store::Table& table, std::string_view key, std::string_view value) {
    auto& rec = table.rec<data::Configuration>();
    store::clearRecord(table.schema(), &rec);
    rec.DATATYPE = key;
    rec.DATAVALUE = value;
    return table.add();
}

}  // namespace

store::Table& configurationTable() { return data::processTable<data::Configuration>(); }

std::optional<data::TableUse> holdConfiguration(Prompter& prompter) {
    std::optional<data::TableUse> use;
    if (!configurationTable().isOpen()) use.emplace(configurationTable(), prompter);
    return use;
}

SettingLookup lookupSetting(std::string_view key, std::string_view fallback, std::string_view iniFile,
                            bool noDefault, bool winIni) {
    store::Table& table = configurationTable();
    const auto use = holdConfiguration();
    const int code = find(table, key);
    if (code == store::kNoError) return {table.rec<data::Configuration>().DATAVALUE.str(), false};
    if (code == store::kRecordNotFound) {
        const IniFile ini(winIni ? winIniPath() : std::string(iniFile));
        std::string text = ini.getString(kSection, key, noDefault ? std::string_view{} : fallback);
        text = cutToWidth(clip(text), decltype(data::Configuration::DATAVALUE)::capacity);
        if (!text.empty()) addRecord(table, key, text);
        return {text, false};
    }
    processPrompter().message("Error!",
                              "Error retrieving configuration information code " + padRight(key, 40) + " - " +
                                  clip(table.error().text),
                              Icon::Error, kOk, kOk);
    return {{}, true};
}

std::string getSetting(std::string_view key, std::string_view fallback, std::string_view iniFile,
                       bool noDefault, bool winIni) {
    return lookupSetting(key, fallback, iniFile, noDefault, winIni).value;
}

bool putSetting(std::string_view key, std::string_view value) {
    store::Table& table = configurationTable();
    const auto use = holdConfiguration();
    int code = find(table, key);
    if (code == store::kRecordNotFound) code = addRecord(table, key, value);
    if (code != store::kNoError) return false;
    table.rec<data::Configuration>().DATAVALUE = value;
    return table.put() == store::kNoError;
}

bool putSetting(std::string_view key, long long value) { return putSetting(key, std::to_string(value)); }

}  // namespace plorix::settings
