#pragma once
// SELECTCATEGORIES ("Select a Category"): the categories in their order;
// Enter, a double-click or "&Select" returns the highlighted one.

#include <QDialog>
#include <optional>

#include "runtime/prompter.h"

namespace plorix::ui {

class BrowseWindow;

class SelectCategories final : public QDialog {
public:
    explicit SelectCategories(Prompter& prompter, QWidget* parent = nullptr);
    BrowseWindow& browse() { return *browse_; }
    const QString& chosen() const { return chosen_; }

private:
    void choose();
    BrowseWindow* browse_;
    QString chosen_;
};

// The category chosen, nullopt when the picker was closed.
std::optional<QString> selectCategory(Prompter& prompter, QWidget* parent = nullptr);

}  // namespace plorix::ui
