#include "ui/kit/category_tab.h"

#include <QHBoxLayout>
#include <QLabel>
#include <stdexcept>

#include "ui/kit/browse_window.h"

namespace plorix::ui {

namespace {

const QString kEveryCategory = QStringLiteral("(every category)");

}  // namespace

CategoryTab::CategoryTab(BrowseWindow& browse, int tab, std::string_view field)
    : browse_(browse), tab_(tab), label_(new QLabel(kEveryCategory, &browse)) {
    const store::TableSchema& schema = *browse.declaration().schema;
    const int index = schema.fieldIndex(field);
    if (index < 0) throw std::invalid_argument("no field " + std::string(field));
    field_ = &schema.fields[static_cast<std::size_t>(index)];
    label_->setAccessibleName(QStringLiteral("Selected category"));
    browse.controlRow().addWidget(label_);
    browse.controlRow().addStretch();
}

void CategoryTab::set(const QString& category) {
    category_ = category;
    label_->setText(category.isEmpty() ? kEveryCategory : QStringLiteral("Category: ") + category);
    if (browse_.tab() == tab_)
        browse_.refresh();
    else
        browse_.setTab(tab_);
}

void CategoryTab::prepare(int tab) {
    const store::TableSchema& schema = *browse_.declaration().schema;
    browse_.page().setKey(browse_.declaration().tabs[static_cast<std::size_t>(tab)].key);
    label_->setVisible(tab == tab_);
    const bool ranged = tab == tab_ && !category_.isEmpty();
    const auto range = schema.makeRecord();
    store::clearRecord(schema, range.get());
    store::setFieldText(*field_, range.get(), category_.toStdString());
    browse_.page().setRange(ranged ? range.get() : nullptr, ranged ? 1 : 0);
}

}  // namespace plorix::ui
