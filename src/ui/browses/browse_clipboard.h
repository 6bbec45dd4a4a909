#pragma once
// BROWSECLIPBOARD ("Browse Clipboard Saver"): the clipboard history by
// capture or by content. An entry is put back on the clipboard, viewed,
// deleted, given or relieved of its save mark (kept from trimming), or run:
// the address or program it holds is started.

#include "scheduler/frame_state.h"
#include "ui/kit/browse_window.h"

namespace plorix::ui {

class BrowseClipboard final : public BrowseWindow {
    Q_OBJECT
public:
    enum Tab { DateTab, ContentTab };

    // `browses` is the frame's list of open histories, told when the
    // clipboard monitor adds or removes entries (may be null).
    BrowseClipboard(Prompter& prompter, scheduler::BrowseRegistry* browses, QWidget* parent = nullptr);
    ~BrowseClipboard() override;

    // The highlighted entry's text, trailing blanks removed, replaces the
    // clipboard's.
    void copyToClipboard();
    // Deletes the highlighted entry, asking first when it has the save mark.
    bool removeSelected();
    // Starts what the highlighted entry holds; whether it holds anything.
    bool run();

protected:
    // Each user sees the entries they copied.
    void preparePage(int tab) override;

private:
    scheduler::BrowseRegistry* browses_;
    int registration_ = 0;
};

BrowseClipboard* openBrowseClipboard(Prompter& prompter, scheduler::BrowseRegistry* browses, QWidget* parent);

}  // namespace plorix::ui
