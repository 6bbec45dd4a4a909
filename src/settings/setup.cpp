#include "settings/setup.h"

#include "settings/configuration.h"
#include "settings/setting_table.h"
#include "data/warnings.h"
#include "store/transaction.h"

namespace plorix::settings {
namespace {

constexpr std::string_view kInfo =
    "When the script actions \"Display Message\", \"File Action\" and \"Send Email\" are "
    "processed, file names and paths are translated using the values set up internally or by "
    "the \"Set Value\" script action.  For example, copying c:\\this.txt to d:\\[DATE].txt "
    "gives the copy today's date as its name.  Leave this option turned off if a program you "
    "start needs a literal \"[\" in its command line, because any text in square brackets "
    "would otherwise be replaced by the value stored under that name.";

}  // namespace

bool setupRefused(Prompter& prompter, const Settings& s) {
    if (!s.inactivated) return false;
    prompter.message("Warning", "Configuration cannot be changed in \"inactivated\" mode.", Icon::Warning,
                     kOk, kOk);
    return true;
}

Settings beginSetup(const Settings& live) {
    Settings edited = live;
    loadSetting("ScriptingDelay", edited);
    loadSetting("BurstSize", edited);
    return edited;
}

void applySetup(Prompter& prompter, const Settings& edited, Settings& live) {
    Settings next = edited;
    const bool dateFormatChanged = next.DateFormat != live.DateFormat;

    // The batch needs the table held open across every write.
    const auto use = holdConfiguration(prompter);
    store::Table& table = configurationTable();
    {
        // One batch: all settings are written or none.
        store::Transaction batch(table);
        for (std::string_view key : setupWriteOrder()) {
            const SettingDecl* decl = findSetting(key);
            adjustForSave(*decl, next);
            putSetting(key, toStored(*decl, next));
        }
        // Without the batch each setting is written on its own, as before.
        if (batch.ok() && batch.commit() != store::kNoError) {
            data::setSavedError(batch.error());
            data::standardWarning(prompter, data::Warning::UpdateOperationError, "Configuration");
        }
    }

    loadSetting("ScriptingDelay", next);
    loadSetting("BurstSize", next);
    live = next;

    if (dateFormatChanged) {
        prompter.message("Information",
                         "Date format changes will not affect currently open windows.  You can "
                         "close and re-open windows, or exit and restart Plorix to view "
                         "information using the new date format.",
                         Icon::Information, kOk, kOk);
        putSetting("DateFormat", live.DateFormat);
    }
}

std::string_view translateFilenamesInfo() { return kInfo; }

void showTranslateFilenamesInfo(Prompter& prompter) {
    prompter.message("Info", kInfo, Icon::Information, kOk, kOk);
}

}  // namespace plorix::settings
