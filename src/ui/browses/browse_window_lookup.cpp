#include "ui/browses/browse_window_lookup.h"

#include "data/tables/window_lookup.h"

namespace plorix::ui {

namespace {

using data::WindowLookup;
namespace keys = data::keys;

BrowseSpec windowLookupSpec() {
    return {.schema = &WindowLookup::schema(),
            .title = "Browse the Window Lookup File",
            .section = "BrowseWindowLookup",
            .tabs = {{"Title", keys::WindowLookup::KEYTITLE}, {"By Date", keys::WindowLookup::KEYDATE}},
            .columns = {{"WL:TITLE", "@s70", "Title", 50},
                        {"WL:DATE", "", "Date", 14},
                        {"WL:TIME", "@t3", "Time", 10}},
            .emptyText =
                "No window titles have been logged. The window monitor logs the titles of the "
                "windows it sees while the scheduler is active."};
}

const data::FormRules& windowLookupRules() {
    static const data::FormRules rules{
        "WindowLookup Record", {"WL:TITLE"}, {{keys::WindowLookup::KEYTITLE, "WL:KeyTitle"}}};
    return rules;
}

}  // namespace

const RecordFormSpec& updateWindowLookupForm() {
    static const RecordFormSpec declaration{.schema = &WindowLookup::schema(),
                                            .title = "Update the WindowLookup File",
                                            .section = "UpdateWindowLookup",
                                            .rules = &windowLookupRules(),
                                            .fields = {{"WL:TITLE", EditorKind::Text, "&Title:"},
                                                       {"WL:DATE", EditorKind::Date, "Date:"},
                                                       {"WL:TIME", EditorKind::Time, "Time:"}},
                                            .skipUnchanged = true};
    return declaration;
}

BrowseWindowLookup::BrowseWindowLookup(const Clock& clock, Prompter& prompter, QWidget* parent)
    : BrowseWindow(windowLookupSpec(), prompter, parent) {
    BrowseActions actions = formActions(updateWindowLookupForm(), *this);
    actions.add = [this, &clock] {
        return addRecord(updateWindowLookupForm(), this->prompter(), this, [&clock](void* record) {
            auto& seen = *static_cast<WindowLookup*>(record);
            const Moment now = clock.current();
            seen.DATE = now.date;
            seen.TIME = now.time;
        });
    };
    setActions(std::move(actions));
    setButtons(standardButtons(*this));
    setMenu(standardButtons(*this));
    start();
}

BrowseWindowLookup* openBrowseWindowLookup(const Clock& clock, Prompter& prompter, QWidget* parent) {
    if (auto* open = bringForwardOpen<BrowseWindowLookup>(parent)) return open;
    auto* window = new BrowseWindowLookup(clock, prompter, parent);
    window->show();
    return window;
}

}  // namespace plorix::ui
