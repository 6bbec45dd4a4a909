#pragma once
// UPDATESCRIPTING ("Update the Scripting File"): one script item. The
// action is chosen from radio buttons in four families; the item's
// parameter page shows only the fields that action uses, with a help text
// below. A new item is stored at once (numbered after the task's last) and
// taken away again when the form is cancelled.

#include <QString>
#include <map>
#include <string_view>
#include <vector>

#include "data/tables/scripting.h"
#include "ui/kit/update_form.h"
#include "ui/script/script_editor.h"
#include "ui/script/scripting_pages.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QTabWidget;

namespace plorix::ui {

class UpdateScripting final : public UpdateForm {
    Q_OBJECT
public:
    UpdateScripting(store::Table& items, data::FormAction action, const ScriptEditorServices& services,
                    QWidget* parent = nullptr);

    QString action() const { return action_; }
    // Shows the action's family, radio and parameter page.
    void chooseAction(const QString& action);
    QTabWidget& families() { return *families_; }
    // The parameter page shown now, and its editors.
    const ParameterPage& page() const { return pageOf(action_.toStdString()); }
    const std::vector<FieldEditor*>& pageEditors() const;
    QString helpText() const;
    // What the buttons of the pages set (options, child texts) before OK.
    const data::Scripting& aside() const { return aside_; }

protected:
    bool prepareSave() override;
    int save() override;

private:
    void buildFamilies();
    QWidget* buildPage(const ParameterPage& page);  // update_scripting_pages.cpp
    void addHelper(const PageField& field, FieldEditor* editor, QWidget* page);
    QPushButton* pageButton(PageButton button, QWidget* page);
    void pressed(PageButton button);
    void showMessage();
    QLineEdit* line(std::string_view field) const;
    bool checkRequired();

    const ScriptEditorServices& services_;
    QString action_;
    QTabWidget* families_ = nullptr;
    QButtonGroup* radios_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QLabel* help_ = nullptr;
    std::map<std::string_view, int> pageIndex_;
    std::map<std::string_view, std::vector<FieldEditor*>> editors_;
    data::Scripting aside_;
    std::vector<PageButton> pressedButtons_;
    QLabel* sendTo_ = nullptr;
    QLabel* subject_ = nullptr;
};

// Adds an item to task `taskId` after its last item (a copy of `copyOf`
// when given) through the form; whether it was saved.
bool addScriptingItem(const ScriptEditorServices& services, std::int32_t taskId,
                      const data::Scripting* copyOf, QWidget* parent);
// Changes the item stored at `position`; whether it was saved.
bool changeScriptingItem(const ScriptEditorServices& services, std::int64_t position, QWidget* parent);

}  // namespace plorix::ui
