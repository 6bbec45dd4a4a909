#include "ui/exchange/ask_picture.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

#include "io/exchange_fields.h"
#include "io/exchange_files.h"
#include "ui/qt_text.h"

namespace plorix::ui {

ImportExportAskPicture::ImportExportAskPicture(const std::string& picture, Prompter& prompter,
                                               QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    setWindowTitle(tr("Picture"));
    auto* layout = new QFormLayout(this);
    picture_ = new QLineEdit(qs(picture), this);
    picture_->setMaxLength(30);
    picture_->setAccessibleName(tr("Picture"));
    picture_->setToolTip(tr("A display picture such as @s20, @n3, @d6b or @t3b"));
    layout->addRow(tr("&Picture:"), picture_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &ImportExportAskPicture::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

std::string ImportExportAskPicture::picture() const { return picture_->text().toStdString(); }
void ImportExportAskPicture::setPicture(const QString& picture) { picture_->setText(picture); }

void ImportExportAskPicture::accept() {
    if (!io::pictureAccepted(picture())) {
        prompter_.message(io::kInvalidPictureTitle, io::kInvalidPictureText, Icon::Warning, kOk, kOk);
        picture_->setFocus();
        return;
    }
    QDialog::accept();
}

std::string askPicture(const std::string& picture, Prompter& prompter, QWidget* parent) {
    ImportExportAskPicture window(picture, prompter, parent);
    if (window.exec() != QDialog::Accepted) return std::string(io::kErrorMark);
    return window.picture();
}

}  // namespace plorix::ui
