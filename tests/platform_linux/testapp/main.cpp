// plorix-testapp: what the desktop tests type into, search for and close.
//
//   plorix-testapp --title T [--button B] [--ignore-term]
//       a window titled T with a line edit (it has the focus) and a button B
//       ("Cancel" unless told); prints "text:" and the line edit's text on
//       Enter, "clicked" when the button is clicked, and "final:" with the
//       line edit's text when the window closes.
//   plorix-testapp --clipboard-set TEXT   puts TEXT on the clipboard, prints
//       "set", and keeps it there until its standard input closes
//   plorix-testapp --clipboard-set-file PATH   the same with a file's text
//   plorix-testapp --clipboard-set-secret TEXT   the same, marked secret as
//       a password manager marks it
//   plorix-testapp --clipboard-set-latin1 TEXT   the same, as Latin-1 bytes
//       offered as UTF-8
//   plorix-testapp --clipboard-get        prints "clip:" and the clipboard's
//       text, or "clip-none"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSocketNotifier>
#include <QVBoxLayout>
#include <QWidget>

#include "platform/linux/clipboard_linux.h"
#include "platform/linux/x11_selection.h"

namespace {

void say(const std::string& line) { std::cout << line << std::endl; }

// Says "set" and holds the clipboard until standard input closes.
int holdClipboard(QApplication& app) {
    say("set");
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[256];
        if (::read(0, buffer, sizeof buffer) <= 0) app.quit();
    });
    return app.exec();
}

int clipboardSet(QApplication& app, const QString& text) {
    plorix::platform::LinuxClipboard clipboard;
    if (!clipboard.setText(text.toStdString())) return 1;
    return holdClipboard(app);
}

// As a password manager copies a password.
int clipboardSetSecret(QApplication& app, const QString& text) {
    auto* data = new QMimeData;
    data->setText(text);
    data->setData(QString::fromLatin1(plorix::platform::kPasswordManagerHint.data()), "secret");
    QGuiApplication::clipboard()->setMimeData(data);
    return holdClipboard(app);
}

// Latin-1 bytes offered as UTF-8, as a program that mislabels its text does.
int clipboardSetLatin1(QApplication& app, const QString& text) {
    plorix::platform::X11Selection selection;
    if (!selection.setText(text.toLatin1().toStdString())) return 1;
    return holdClipboard(app);
}

int clipboardGet() {
    plorix::platform::LinuxClipboard clipboard;
    const auto text = clipboard.text();
    say(text ? "clip:" + *text : std::string("clip-none"));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString title = "plorix-testapp";
    QString button = "Cancel";
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const QString next = i + 1 < args.size() ? args[i + 1] : QString();
        if (a == "--clipboard-set") return clipboardSet(app, next);
        if (a == "--clipboard-set-file") {
            QFile file(next);
            if (!file.open(QIODevice::ReadOnly)) return 1;
            return clipboardSet(app, QString::fromUtf8(file.readAll()));
        }
        if (a == "--clipboard-get") return clipboardGet();
        if (a == "--clipboard-set-secret") return clipboardSetSecret(app, next);
        if (a == "--clipboard-set-latin1") return clipboardSetLatin1(app, next);
        if (a == "--title")
            title = next, ++i;
        else if (a == "--button")
            button = next, ++i;
        else if (a == "--ignore-term")
            std::signal(SIGTERM, SIG_IGN);
    }

    QWidget window;
    window.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    auto* push = new QPushButton(button, &window);
    layout->addWidget(edit);
    layout->addWidget(push);
    QObject::connect(push, &QPushButton::clicked, [] { say("clicked"); });
    QObject::connect(edit, &QLineEdit::returnPressed, [edit] { say("text:" + edit->text().toStdString()); });
    QObject::connect(&app, &QApplication::aboutToQuit,
                     [edit] { say("final:" + edit->text().toStdString()); });
    window.resize(320, 120);
    window.show();
    edit->setFocus();
    return app.exec();
}
