#include "platform/linux/clipboard_watch.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

namespace plorix::platform {

ClipboardWatch::ClipboardWatch(std::function<void()> changed) : changed_(std::move(changed)) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return;
    int errorBase = 0;
    if (!XFixesQueryExtension(display, &eventBase_, &errorBase)) {
        XCloseDisplay(display);
        return;
    }
    const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    XFixesSelectSelectionInput(display, DefaultRootWindow(display), clipboard,
                               XFixesSetSelectionOwnerNotifyMask);
    XFlush(display);
    display_ = display;
    notifier_ = std::make_unique<QSocketNotifier>(ConnectionNumber(display), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readable(); });
}

ClipboardWatch::~ClipboardWatch() {
    notifier_.reset();
    if (display_ != nullptr) XCloseDisplay(display_);
}

void ClipboardWatch::readable() {
    bool changed = false;
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == eventBase_ + XFixesSelectionNotify) changed = true;
    }
    if (changed && changed_) changed_();
}

}  // namespace plorix::platform
