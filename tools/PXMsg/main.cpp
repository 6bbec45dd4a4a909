// PXMsg "TEXT": shows TEXT in a window of its own, on top of the others,
// until the user closes it. Started by the scheduler in place of its own
// reminder window when the UseExternalMessage setting is on.

#include <QApplication>
#include <cstdio>

#include "message_box.h"

int main(int argc, char** argv) {
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
