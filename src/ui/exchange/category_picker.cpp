#include "ui/exchange/category_picker.h"

#include <QInputDialog>

#include "data/open_routine.h"
#include "data/tables.h"
#include "data/warnings.h"
#include "ui/qt_text.h"

namespace plorix::ui {

std::vector<std::string> categoryNames(Prompter& prompter) {
    store::Table table(data::Categories::schema());
    data::TableUse use(table, prompter);
    std::vector<std::string> names;
    table.setStart(data::keys::Categories::KEYCATEGORY);
    int code;
    while ((code = table.next()) == store::kNoError)
        names.push_back(table.rec<data::Categories>().CATEGORY.str());
    if (code != store::kRecordNotAvailable)
        data::standardWarning(prompter, data::Warning::RecordRetrievalError, table.name());
    return names;
}

std::optional<std::string> pickCategory(QWidget* parent, Prompter& prompter) {
    const std::vector<std::string> names = categoryNames(prompter);
    if (names.empty()) {
        prompter.message("NOTE...", "There are no categories to choose from.", Icon::Information, kOk, kOk);
        return std::nullopt;
    }
    QStringList items;
    for (const std::string& name : names) items << qs(name);
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent, QObject::tr("Select a Category"),
                                                 QObject::tr("&Category:"), items, 0, false, &ok);
    if (!ok) return std::nullopt;
    return chosen.toStdString();
}

}  // namespace plorix::ui
