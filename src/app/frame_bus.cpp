#include "app/frame_bus.h"

#include <QTimer>
#include <algorithm>
#include <cctype>

#include "app/main_frame.h"

namespace plorix::app {

namespace {

bool sameText(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

FrameCommand windowCommandNamed(std::string_view name) {
    for (const MenuItem& item : menuItems()) {
        // Ending the program is Quit's work, not a window.
        if (item.command == FrameCommand::Exit || item.command == FrameCommand::None) continue;
        if (sameText(plainText(item.text), name)) return item.command;
    }
    return FrameCommand::None;
}

BusHost frameBusHost(MainFrame& frame) {
    return {.runNow = [&frame](const data::Schedule& entry) { frame.engine().runNow(entry); },
            .showWindow = [&frame](const std::string& name) -> std::string {
                const FrameCommand command = name.empty() ? FrameCommand::None : windowCommandNamed(name);
                if (!name.empty() && (command == FrameCommand::None || !frame.canPerform(command)))
                    return "there is no window \"" + name + "\"";
                frame.bringToFront();
                // Opened once the caller has its answer: some windows are modal.
                if (command != FrameCommand::None)
                    QTimer::singleShot(0, &frame, [&frame, command] { frame.perform(command); });
                return {};
            },
            .quit = [&frame] { frame.quit(); },
            .tasksAdded = [&frame] { frame.engine().frameTick().browses().notifyAll(); }};
}

}  // namespace plorix::app
