// settings and log.

#include <iostream>

#include "cli.h"
#include "data/open_routine.h"
#include "runtime/file_names.h"
#include "runtime/fixed_text.h"
#include "runtime/whole_file.h"
#include "settings/configuration.h"
#include "settings/setting_table.h"
#include "settings/setting_values.h"

namespace plorix::cli {

namespace {

// The setting a command names and, for a change, the value checked: a
// refusal comes before the data folder is touched.
const settings::SettingDecl* checkedSetting(const Args& args) {
    if (args.size() > 2) throw UsageError("usage: settings [KEY [VALUE]]");
    if (args.empty()) return nullptr;
    const settings::SettingDecl* decl = settings::findSetting(args[0]);
    // Only the settings SETUP and start-up read; the table's other named
    // values (the last sound file chosen ...) are the program's own.
    if (!decl) throw UsageError("unknown setting '" + args[0] + "' (see plorix-cli settings)");
    settings::Settings scratch;
    if (args.size() == 2) {
        if (const std::string why = settings::takeShownValue(*decl, args[1], scratch); !why.empty())
            throw UsageError("value '" + args[1] + "' for " + std::string(decl->key) + " " + why);
    }
    return decl;
}

}  // namespace

DataUse settingsUse(const Args& args) {
    try {
        checkedSetting(args);
    } catch (const UsageError&) {
        return DataUse::None;  // refused by the command without a data folder
    }
    return args.size() == 2 ? DataUse::Writes : DataUse::Reads;
}

int cmdSettings(const Args& args, Prompter& prompter) {
    const settings::SettingDecl* decl = checkedSetting(args);
    data::TableUse use(settings::configurationTable(), prompter);
    settings::Settings s;
    settings::loadSettings(s);
    if (!decl) {
        for (const auto& d : settings::settingDecls())
            std::cout << d.key << '=' << settings::shownValue(d, s) << '\n';
        return 0;
    }
    if (args.size() == 1) {
        std::cout << settings::shownValue(*decl, s) << '\n';
        return 0;
    }
    settings::takeShownValue(*decl, args[1], s);
    settings::adjustForSave(*decl, s);
    if (!settings::putSetting(decl->key, settings::toStored(*decl, s)))
        storeFailure(use.table(), "writing " + std::string(decl->key));
    return 0;
}

int cmdLog(const Args& args, Prompter&) {
    if (!args.empty()) throw UsageError("usage: log");
    const auto content = readWholeFile(findFileNoCase("PX98Evnt.LOG"));
    if (!content) return 0;  // no events logged yet
    // The file's lines end in CR LF; print them as this system's text lines.
    std::string out;
    out.reserve(content->size());
    for (char c : *content)
        if (c != '\r') out += c;
    std::cout << out;
    return 0;
}

}  // namespace plorix::cli
