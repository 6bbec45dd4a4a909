// "Start Script": a script file loaded into the queue while a script runs.
//
//   Insert  the file's items run now, then the rest of the queue
//   Jump to the file's items run now and everything queued is dropped
//   Append  the file's items run after everything queued, with an end marker
//
// The file's items are laid out from the present for Insert and Jump to, and
// after the queue's last item for Append; the items that follow an inserted
// script keep their spacing after it rather than running late in a burst.

#include <cctype>

#include "data/warnings.h"
#include "script/file_actions.h"
#include "script/queue_layout.h"
#include "script/script_file.h"
#include "script/stepper.h"

namespace plorix::script {
namespace {

// The mode is the first letter of the item's type; anything else jumps.
char loadMode(std::string_view type) {
    const char first =
        type.empty() ? 'J' : static_cast<char>(std::toupper(static_cast<unsigned char>(type.front())));
    return first == 'I' || first == 'A' ? first : 'J';
}

}  // namespace

void ScriptStepper::startScript() {
    const QueueItem& item = queue_.front();
    const std::string path = userPath(item.COMMAND.str());
    const ScriptLoad outcome = loadScriptFile(path, loadMode(item.PATH.str()));
    lastScriptLoad_ = outcome;
    // A load that replaced the queue has already dropped this item; the
    // first loaded item must stay.
    if (outcome == ScriptLoad::Loaded || outcome == ScriptLoad::Unreadable) keepCurrent_ = true;
}

ScriptLoad ScriptStepper::loadScriptFile(const std::string& path, char mode) {
    const ScriptQueue::Items& old = queue_.items();
    const std::size_t rest = old.size() - 1;  // positions 2 to the end
    ScriptQueue::Items list;
    if (mode == 'A') list.assign(old.begin() + 1, old.end());
    // What the new queue holds besides the file's items.
    const std::size_t kept = mode == 'J' ? 0 : rest + (mode == 'A' ? 1 : 0);

    auto progress = prompter_.progress("Processing Records", "Importing Script Items");
    progress->setPercent(0);
    bool readable = true;
    ScriptFileReader reader;
    if (reader.open(path) != 0) {
        data::setSavedError(reader.error());
        data::standardWarning(prompter_, data::Warning::ViewOpenError, path);
        readable = false;
    }

    QueueLayout layout(clock_, scriptingDelay(settings_),
                       mode == 'A' && !old.empty() ? &old.back() : nullptr);
    const std::int32_t handle = programs_.programHandle();
    std::size_t loaded = 0;
    while (readable) {
        if (progress->cancelled()) return ScriptLoad::Cancelled;
        ScriptFileRecord record;
        const auto read = reader.next(record);
        if (read == ScriptFileReader::Read::End) break;
        if (read == ScriptFileReader::Read::Error) {
            data::setSavedError(reader.error());
            data::standardWarning(prompter_, data::Warning::RecordRetrievalError, "Export");
            readable = false;
            break;
        }
        data::Scripting item;
        if (!itemFromRecord(record, item)) {
            prompter_.message("Import Error", "Unrecognized script action: " + record.type, Icon::Warning,
                              kOk, kOk);
        }
        if (!withinQueueLimit(kept + loaded + 1)) {
            refuseLoad(path);
            return ScriptLoad::QueueFull;
        }
        list.push_back(layout.place(item, handle));
        ++loaded;
        progress->setPercent(reader.percent());
    }
    progress->finish();

    if (mode == 'I') {
        const std::size_t first = list.size();
        list.insert(list.end(), old.begin() + 1, old.end());
        if (first < list.size() && loaded > 0) {
            const std::int64_t follow = layout.running() + scriptingDelay(settings_);
            if (list[first].due < follow) delayItems(list, first, follow - list[first].due);
        }
    } else if (mode == 'A') {
        list.push_back(layout.endMarker(handle));
    }
    if (!queue_.replace(std::move(list))) {
        refuseLoad(path);
        return ScriptLoad::QueueFull;
    }
    return readable ? ScriptLoad::Loaded : ScriptLoad::Unreadable;
}

}  // namespace plorix::script
