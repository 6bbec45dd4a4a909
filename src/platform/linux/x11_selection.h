#pragma once
// The clipboard as the X11 CLIPBOARD selection, for programs without a Qt
// GUI (plorix-cli, tests). A worker thread with a display connection of its
// own reads the selection and, once this program has put text on the
// clipboard, hands that text to every program that asks for it. X11 keeps
// no copy: the text vanishes when this program ends, unless a clipboard
// manager took it over.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clipboard.h"

namespace plorix::platform {

class X11Selection {
public:
    explicit X11Selection(std::string displayName = {});
    ~X11Selection();
    X11Selection(const X11Selection&) = delete;
    X11Selection& operator=(const X11Selection&) = delete;

    // The clipboard's text; nullopt when it holds none, its owner does not
    // answer within the time-out, or there is no display.
    std::optional<std::string> text();
    // The text with the secret mark a password manager may have added.
    std::optional<ClipboardText> read();
    // Makes this program the clipboard's owner, holding `text`.
    bool setText(std::string_view text);

    // How long an owner may take to answer.
    static constexpr std::chrono::milliseconds kTimeout{1500};

private:
    struct Worker;
    // Runs `job` on the worker and waits for its answer.
    template <typename Result>
    Result onWorker(std::function<Result(Worker&)> job);
    std::string displayName_;
    std::unique_ptr<Worker> worker_;
};

}  // namespace plorix::platform
