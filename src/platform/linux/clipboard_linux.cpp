#include "platform/linux/clipboard_linux.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QThread>

#include "platform/linux/x11_selection.h"

namespace plorix::platform {

namespace {

// Qt's clipboard, when this thread may use it.
QClipboard* qtClipboard() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr || QThread::currentThread() != app->thread()) return nullptr;
    return QGuiApplication::clipboard();
}

}  // namespace

LinuxClipboard::LinuxClipboard(std::string displayName) : displayName_(std::move(displayName)) {}

LinuxClipboard::~LinuxClipboard() = default;

X11Selection& LinuxClipboard::selection() {
    if (!selection_) selection_ = std::make_unique<X11Selection>(displayName_);
    return *selection_;
}

std::optional<std::string> LinuxClipboard::text() {
    auto content = read();
    if (!content) return std::nullopt;
    return std::move(content->text);
}

std::optional<ClipboardText> LinuxClipboard::read() {
    QClipboard* clipboard = qtClipboard();
    if (clipboard == nullptr || !clipboard->ownsClipboard()) return selection().read();
    const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
    if (data == nullptr || !data->hasText()) return std::nullopt;
    const QString hint = QString::fromLatin1(kPasswordManagerHint.data(), kPasswordManagerHint.size());
    return ClipboardText{data->text().toStdString(), data->data(hint) == "secret"};
}

bool LinuxClipboard::setText(std::string_view text) {
    if (QClipboard* clipboard = qtClipboard()) {
        clipboard->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                           QClipboard::Clipboard);
        return true;
    }
    return selection().setText(text);
}

}  // namespace plorix::platform
