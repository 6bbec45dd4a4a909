#include "ui/kit/record_picker.h"

#include <QVBoxLayout>

#include "ui/kit/browse_window.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"

namespace plorix::ui {

RecordPicker::RecordPicker(const BrowseSpec& declaration, Prompter& prompter, std::string_view selectTip,
                           QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(qs(declaration.title));
    auto* layout = new QVBoxLayout(this);
    browse_ = new BrowseWindow(declaration, prompter, this);
    browse_->setWindowFlags(Qt::Widget);
    browse_->setAttribute(Qt::WA_DeleteOnClose, false);
    layout->addWidget(browse_);
    browse_->setActions({.edit = [this](const void*) {
        choose();
        return false;
    }});
    browse_->setButtons(
        {{"&Select", selectTip, [this] { choose(); }, [this] { return browse_->hasSelection(); }}});
    browse_->start();
    // As wide as the browse made itself for its columns, with room for rows.
    const QMargins margins = layout->contentsMargins();
    constexpr int kMinimumHeight = 320;
    resize(std::max(sizeHint().width(), browse_->width() + margins.left() + margins.right()),
           std::max(sizeHint().height(), kMinimumHeight));
    rememberPosition(*this, std::string(declaration.section));
}

void RecordPicker::choose() {
    const void* record = browse_->selected();
    if (!record) return;
    take(record);
    accept();
}

}  // namespace plorix::ui
