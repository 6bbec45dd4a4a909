// PXMsg "TEXT": shows TEXT in a window of its own, on top of the others,
// until the user closes it. Started by the scheduler in place of its own
// reminder window when the UseExternalMessage setting is on.

#include <QApplication>
#include <cstdio>
#include <cstring>

#include "message_box.h"

int main(int argc, char** argv) {
    // Answered before Qt starts, so they work without a display.
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs("usage: PXMsg \"message text\"\n       PXMsg --version | --help\n", stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::fputs("PXMsg " PLORIX_VERSION "\n", stdout);
        return 0;
    }
    QApplication app(argc, argv);
    const QString text = plorix::pxmsg::messageFromArguments(QApplication::arguments());
    if (text.trimmed().isEmpty()) {
        std::fputs("usage: PXMsg \"message text\"\n", stderr);
        return 2;
    }
    plorix::pxmsg::MessageBox box(text);
    box.show();
    box.raise();
    box.activateWindow();
    box.exec();
    return 0;
}
