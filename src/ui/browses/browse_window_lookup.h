#pragma once
// BROWSEWINDOWLOOKUP ("Browse the Window Lookup File") and its form
// UPDATEWINDOWLOOKUP: the titles of the windows the window monitor has
// seen, each with the moment it was first seen, for finding the exact
// title a script's window actions should look for.

#include "runtime/clock.h"
#include "ui/kit/browse_window.h"
#include "ui/kit/record_form.h"

namespace plorix::ui {

const RecordFormSpec& updateWindowLookupForm();

class BrowseWindowLookup final : public BrowseWindow {
    Q_OBJECT
public:
    enum Tab { TitleTab, DateTab };

    // A title added by hand is stamped with `clock`'s moment until changed.
    BrowseWindowLookup(const Clock& clock, Prompter& prompter, QWidget* parent = nullptr);
};

BrowseWindowLookup* openBrowseWindowLookup(const Clock& clock, Prompter& prompter, QWidget* parent);

}  // namespace plorix::ui
