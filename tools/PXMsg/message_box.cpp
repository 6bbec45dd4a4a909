#include "message_box.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "messages/message_texts.h"
#include "ui/qt_text.h"

namespace plorix::pxmsg {

QString messageFromArguments(const QStringList& arguments) {
    QString text = arguments.mid(1).join(' ');
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text;
}

MessageBox::MessageBox(const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setWindowTitle(ui::qs(messages::kMessageTitle));
    setWindowIcon(QIcon(":/messages/icons/clock.svg"));

    auto* view = new QPlainTextEdit(text, this);
    view->setReadOnly(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view, 1);
    layout->addWidget(buttons);
    resize(420, 240);
}

}  // namespace plorix::pxmsg
