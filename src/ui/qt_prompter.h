#pragma once
// The desktop program's Prompter: message boxes and progress dialogs.

#include <QWidget>

#include "runtime/prompter.h"

namespace plorix::ui {

class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    int message(std::string_view title, std::string_view text, Icon icon, ButtonSet buttons,
                int defaultButton) override;
    std::unique_ptr<Progress> progress(std::string_view title, std::string_view heading) override;

private:
    QWidget* parent_;
};

}  // namespace plorix::ui
