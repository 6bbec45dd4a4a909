#pragma once
// SETREPORTTITLE, the window "Set Report Title": a title of up to 80
// characters for the to-do reports; blank keeps the default.

#include <QDialog>
#include <optional>
#include <string>

class QLineEdit;

namespace plorix::reports {

class SetReportTitle final : public QDialog {
public:
    explicit SetReportTitle(QWidget* parent = nullptr);
    std::string title() const;
    void setTitle(const QString& title);

private:
    QLineEdit* title_ = nullptr;
};

// The title entered, blank for the default; nothing when cancelled.
std::optional<std::string> askReportTitle(QWidget* parent);

}  // namespace plorix::reports
