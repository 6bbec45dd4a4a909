#pragma once
// The clipboard's text. In the desktop program, Qt's clipboard is used on
// the GUI thread while this program owns the clipboard, so that text it put
// there itself (the user copied from one of its windows) is read without
// asking the X server to ask us. Another program's text is read from the X11
// selection directly, as its owner offers the bytes: Qt would turn bytes
// that are not UTF-8 into U+FFFD before we saw them. Without a Qt GUI
// (plorix-cli, tests), or from another thread, the selection is also owned
// directly. Either way, text this program put on the clipboard vanishes
// when it ends.

#include <memory>
#include <string>

#include "platform/clipboard.h"

namespace plorix::platform {

class X11Selection;

class LinuxClipboard final : public Clipboard {
public:
    explicit LinuxClipboard(std::string displayName = {});
    ~LinuxClipboard() override;

    std::optional<std::string> text() override;
    std::optional<ClipboardText> read() override;
    bool setText(std::string_view text) override;

private:
    std::string displayName_;
    std::unique_ptr<X11Selection> selection_;  // made at first use without Qt
    X11Selection& selection();
};

}  // namespace plorix::platform
