#include "app/about_box.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "scheduler/frame_state.h"
#include "settings/settings.h"
#include "ui/window_geometry.h"

namespace plorix::app {

AboutBox::AboutBox(bool withWindowLog, QWidget* parent) : QDialog(parent) {
    const QString title = QString::fromStdString(scheduler::productTitle());
    setWindowTitle(QStringLiteral("About ") + title);
    auto* logo = new QLabel;
    logo->setPixmap(QIcon(QStringLiteral(":/icons/plorix.svg")).pixmap(64, 64));
    logo->setAlignment(Qt::AlignTop);
    auto* text = new QLabel(QStringLiteral("<h3>%1</h3>"
                                           "<p>Reminders, scheduled programs and automation scripts,<br>"
                                           "with a to-do list, contacts and a clipboard history.</p>"
                                           "<p>Built with Qt %2.</p>")
                                .arg(title.toHtmlEscaped(), QString::fromLatin1(qVersion())));
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    if (withWindowLog) {
        // Whether the monitor is on is read from the profile now, so that
        // switching it on needs no restart to reach the log kept so far.
        windowLog_ = buttons->addButton(QStringLiteral("&Window Lookup"), QDialogButtonBox::ActionRole);
        windowLog_->setEnabled(settings::windowMonitorSwitchedOn());
        windowLog_->setToolTip(windowLog_->isEnabled()
                                   ? QStringLiteral("Browse the titles of the windows seen while Plorix ran")
                                   : QStringLiteral("Set \"Monitor Windows=1\" in the [Plorix] section of "
                                                    "WIN.INI to log the titles of the windows seen"));
        // The box is modal: the log opens once it has closed.
        connect(windowLog_, &QPushButton::clicked, this, [this] {
            if (settings::windowMonitorSwitchedOn())
                done(kOpenWindowLog);
            else
                windowLog_->setEnabled(false);  // switched off meanwhile
        });
    }

    auto* row = new QHBoxLayout;
    row->addWidget(logo);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ui::rememberPosition(*this, "About");
}

void showAboutBox(QWidget* parent, const std::function<void()>& openWindowLog) {
    AboutBox box(bool(openWindowLog), parent);
    if (box.exec() == AboutBox::kOpenWindowLog) openWindowLog();
}

}  // namespace plorix::app
