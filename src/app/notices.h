#pragma once
// Where the headless scheduler shows what the frame would show in a window:
// the desktop's notification service (org.freedesktop.Notifications on the
// session bus) when one runs, otherwise one line on standard output.

#include <QStringList>
#include <iosfwd>
#include <string>
#include <string_view>

#include "runtime/prompter.h"

namespace plorix::app {

inline constexpr std::string_view kNotificationService = "org.freedesktop.Notifications";
inline constexpr std::string_view kNotificationPath = "/org/freedesktop/Notifications";
// The name notifications go under: the same in every version, so the
// desktop's per-program notification settings keep.
inline constexpr std::string_view kNotifyingName = "Plorix";

// Whether the environment names a session bus. Without one, asking for the
// bus would make the bus library launch a daemon that outlives the program.
bool sessionBusNamed();

class Notices {
public:
    enum class Shown { AsNotification, OnOutput };

    explicit Notices(std::ostream& out);
    Shown tell(std::string_view title, std::string_view text);

    // A notification from "Plorix" with the desktop entry "plorix" and the
    // actions given (key, label, key, label ...); its identifier, 0 when no
    // notification service took it. The body is escaped where the service
    // shows markup, and sent as written elsewhere.
    static unsigned notify(std::string_view title, std::string_view text, const QStringList& actions = {});
    static void withdraw(unsigned id);

private:
    std::ostream& out_;
};

// "Title: text" with line ends turned into blanks, so each notice is one line.
std::string noticeLine(std::string_view title, std::string_view text);

// Tells every message as a notice and answers each question with its
// default button (named in the notice); progress is not shown.
class NoticePrompter final : public Prompter {
public:
    explicit NoticePrompter(Notices& notices) : notices_(notices) {}
    int message(std::string_view title, std::string_view text, Icon icon, ButtonSet buttons,
                int defaultButton) override;
    std::unique_ptr<Progress> progress(std::string_view title, std::string_view heading) override;

private:
    Notices& notices_;
};

}  // namespace plorix::app
