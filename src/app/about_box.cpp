#include "app/about_box.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

#include "scheduler/frame_state.h"
#include "ui/window_geometry.h"

namespace plorix::app {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
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

    auto* row = new QHBoxLayout;
    row->addWidget(logo);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ui::rememberPosition(*this, "About");
}

void showAboutBox(QWidget* parent) {
    AboutBox box(parent);
    box.exec();
}

}  // namespace plorix::app
