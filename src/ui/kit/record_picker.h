#pragma once
// A picker of records: a browse in a modal dialog. Enter, a double-click or
// "&Select" chooses the highlighted record; "Cl&ose" or Escape chooses none.

#include <QDialog>
#include <string_view>

#include "runtime/prompter.h"
#include "ui/kit/browse_declaration.h"

namespace plorix::ui {

class BrowseWindow;

class RecordPicker : public QDialog {
public:
    // `selectTip` is the tip of "&Select"; the window keeps its place under
    // the declaration's section.
    RecordPicker(const BrowseSpec& declaration, Prompter& prompter, std::string_view selectTip,
                 QWidget* parent = nullptr);
    BrowseWindow& browse() { return *browse_; }

protected:
    // Keeps what the picker returns from the record chosen.
    virtual void take(const void* record) = 0;

private:
    void choose();
    BrowseWindow* browse_;
};

}  // namespace plorix::ui
