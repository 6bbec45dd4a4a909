// settings and log.

#include <iostream>

#include "cli.h"
#include "data/open_routine.h"
#include "runtime/file_names.h"
#include "runtime/fixed_text.h"
#include "runtime/whole_file.h"
#include "settings/configuration.h"
#include "settings/setting_table.h"

namespace plorix::cli {

int cmdSettings(const Args& args, Prompter& prompter) {
    if (args.size() > 2) throw UsageError("usage: settings [KEY [VALUE]]");
    data::TableUse use(settings::configurationTable(), prompter);
    if (args.empty()) {
        settings::Settings s;
        settings::loadSettings(s);
        for (const auto& decl : settings::settingDecls())
            std::cout << decl.key << '=' << settings::toStored(decl, s) << '\n';
        return 0;
    }
    const auto* decl = settings::findSetting(args[0]);
    // Keys outside the declaration table (LastEmail, LastWAVFile ...) are
    // still named values of the table and may be read and written.
    const std::string key = decl ? std::string(decl->key) : args[0];
    if (key.size() > 40) throw UsageError("a setting name has at most 40 characters");
    if (args.size() == 1) {
        std::cout << settings::getSetting(key) << '\n';
        return 0;
    }
    if (characterCount(args[1]) > 80) throw UsageError("a setting value has at most 80 characters");
    if (!settings::putSetting(key, args[1])) storeFailure(use.table(), "writing " + key);
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
