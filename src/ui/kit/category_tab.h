#pragma once
// A tab of a browse that lists the records of one category (the one the
// user picked), named above the list: "Category: HOME".

#include <QString>
#include <string_view>

class QLabel;

namespace plorix::store {
struct FieldDesc;
}

namespace plorix::ui {

class BrowseWindow;

class CategoryTab {
public:
    // Tab `tab` of `browse` lists by a key led by `field` ("TDO:CATEGORY").
    CategoryTab(BrowseWindow& browse, int tab, std::string_view field);

    const QString& category() const { return category_; }
    // Shows `category`'s records on the tab, moving to it.
    void set(const QString& category);
    // The page for tab `tab`: its key, ranged on the category on this tab
    // (the key ignores case, so the range does too).
    void prepare(int tab);

private:
    BrowseWindow& browse_;
    int tab_;
    const store::FieldDesc* field_;
    QString category_;
    QLabel* label_;
};

}  // namespace plorix::ui
