#include "ui/kit/record_picker.h"

#include "ui/kit/browse_picker.h"
#include "ui/kit/browse_window.h"

namespace plorix::ui {

RecordPicker::RecordPicker(const BrowseSpec& declaration, Prompter& prompter, std::string_view selectTip,
                           QWidget* parent)
    : QDialog(parent) {
    browse_ = new BrowseWindow(declaration, prompter, this);
    makePartOfPicker(*browse_);
    browse_->setActions({.edit = [this](const void*) {
        choose();
        return false;
    }});
    browse_->setButtons(
        {{"&Select", selectTip, [this] { choose(); }, [this] { return browse_->hasSelection(); }}});
    browse_->start();
    hostPicker(*this, *browse_, declaration.title, declaration.section);
}

void RecordPicker::choose() {
    const void* record = browse_->selected();
    if (!record) return;
    take(record);
    accept();
}

}  // namespace plorix::ui
