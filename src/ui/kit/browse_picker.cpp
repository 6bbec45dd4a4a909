#include "ui/kit/browse_picker.h"

#include <QVBoxLayout>
#include <string>

#include "ui/kit/browse_window.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"

namespace plorix::ui {

void hostPicker(QDialog& picker, BrowseWindow& browse, std::string_view title, std::string_view section) {
    picker.setWindowTitle(qs(title));
    (new QVBoxLayout(&picker))->addWidget(&browse);
    picker.resize(browse.size() + QSize(24, 24));
    rememberPosition(picker, std::string(section));
}

}  // namespace plorix::ui
