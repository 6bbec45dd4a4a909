#include "ui/qt_prompter.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>

namespace plorix::ui {

namespace {

// Our button values and Qt's standard buttons, side by side.
struct ButtonPair {
    int ours;
    QMessageBox::StandardButton qt;
};
constexpr ButtonPair kButtons[] = {
    {kOk, QMessageBox::Ok},         {kYes, QMessageBox::Yes},     {kNo, QMessageBox::No},
    {kAbort, QMessageBox::Abort},   {kRetry, QMessageBox::Retry}, {kIgnore, QMessageBox::Ignore},
    {kCancel, QMessageBox::Cancel},
};

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Error: return QMessageBox::Critical;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

class QtProgress final : public Progress {
public:
    // Opened while a dialog is up, it belongs to that dialog: a window
    // beneath a modal dialog takes no clicks, and its Cancel must. It keeps
    // the windows it belongs to from starting the work again meanwhile.
    QtProgress(QWidget* parent, std::string_view title, std::string_view heading)
        : dialog_(qs(heading), QObject::tr("Cancel"), 0, 100,
                  QApplication::activeModalWidget() ? QApplication::activeModalWidget() : parent) {
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setWindowTitle(qs(title));
        dialog_.setMinimumDuration(0);
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        dialog_.setValue(0);
        dialog_.setLabelText(qs(heading) + "\n0% Completed");
        heading_ = qs(heading);
    }
    void setPercent(int percent) override {
        dialog_.setValue(percent);
        dialog_.setLabelText(heading_ + QString("\n%1% Completed").arg(percent));
        QApplication::processEvents();
    }
    void setText(std::string_view text) override { heading_ = qs(text); }
    bool cancelled() override {
        QApplication::processEvents();
        return dialog_.wasCanceled();
    }
    void finish() override {
        dialog_.setLabelText(QStringLiteral("Process Completed"));
        dialog_.setValue(100);
        dialog_.close();
    }

private:
    QProgressDialog dialog_;
    QString heading_;
};

}  // namespace

int QtPrompter::message(std::string_view title, std::string_view text, Icon icon, ButtonSet buttons,
                        int defaultButton) {
    QMessageBox box(qtIcon(icon), qs(title), qs(text), QMessageBox::NoButton, parent_);
    for (const auto& b : kButtons) {
        if (buttons & b.ours) box.addButton(b.qt);
    }
    if (buttons == kNoButton) box.addButton(QMessageBox::Ok);
    for (const auto& b : kButtons) {
        if (b.ours == defaultButton) box.setDefaultButton(b.qt);
    }
    const int pressed = box.exec();
    for (const auto& b : kButtons) {
        if (pressed == b.qt) return b.ours;
    }
    // Closed by the window manager: the default (or Cancel when offered).
    if (buttons & kCancel) return kCancel;
    return defaultButton;
}

std::unique_ptr<Progress> QtPrompter::progress(std::string_view title, std::string_view heading) {
    return std::make_unique<QtProgress>(parent_, title, heading);
}

}  // namespace plorix::ui
