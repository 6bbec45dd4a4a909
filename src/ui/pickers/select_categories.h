#pragma once
// SELECTCATEGORIES ("Select a Category"): the categories in their order;
// Enter, a double-click or "&Select" returns the highlighted one.

#include <QString>
#include <optional>

#include "ui/kit/record_picker.h"

namespace plorix::ui {

class SelectCategories final : public RecordPicker {
public:
    explicit SelectCategories(Prompter& prompter, QWidget* parent = nullptr);
    const QString& chosen() const { return chosen_; }

protected:
    void take(const void* record) override;

private:
    QString chosen_;
};

// The category chosen, nullopt when the picker was closed.
std::optional<QString> selectCategory(Prompter& prompter, QWidget* parent = nullptr);

}  // namespace plorix::ui
