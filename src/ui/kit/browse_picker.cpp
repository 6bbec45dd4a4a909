#include "ui/kit/browse_picker.h"

#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "ui/kit/browse_window.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"

namespace plorix::ui {

void makePartOfPicker(BrowseWindow& browse) {
    browse.setWindowFlags(Qt::Widget);
    browse.setAttribute(Qt::WA_DeleteOnClose, false);
}

void hostPicker(QDialog& picker, BrowseWindow& browse, std::string_view title, std::string_view section) {
    picker.setWindowTitle(qs(title));
    auto* layout = new QVBoxLayout(&picker);
    layout->addWidget(&browse);
    // As wide as the browse made itself for its columns, with room for rows.
    const QMargins margins = layout->contentsMargins();
    constexpr int kMinimumHeight = 320;
    picker.resize(std::max(picker.sizeHint().width(), browse.width() + margins.left() + margins.right()),
                  std::max({picker.sizeHint().height(), browse.height() + margins.top() + margins.bottom(),
                            kMinimumHeight}));
    rememberPosition(picker, std::string(section));
}

}  // namespace plorix::ui
