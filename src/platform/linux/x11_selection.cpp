#include "platform/linux/x11_selection.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <deque>
#include <future>
#include <mutex>
#include <thread>

#include "platform/linux/x11_connection.h"
#include "platform/linux/x11_text.h"

namespace plorix::platform {

namespace {

// Texts longer than this are not read from other programs.
constexpr long kMaxReadBytes = 16L << 20;

std::string toLatin1(std::string_view utf8) {
    std::string out;
    for (char32_t c : decodeUtf8(utf8)) out += c < 0x100 ? static_cast<char>(c) : '?';
    return out;
}

}  // namespace

struct X11Selection::Worker {
    explicit Worker(const std::string& displayName) : wake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
        auto ready = std::make_shared<std::promise<void>>();
        std::future<void> opened = ready->get_future();
        thread = std::thread([this, displayName, ready] {
            open(displayName);
            ready->set_value();
            loop();
        });
        opened.wait();
    }

    ~Worker() {
        post([](Worker& w) { w.stopping = true; });
        thread.join();
        if (display != nullptr) XCloseDisplay(display);
        ::close(wake);
    }

    void post(std::function<void(Worker&)> job) {
        {
            std::lock_guard lock(mutex);
            jobs.push_back(std::move(job));
        }
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(wake, &one, sizeof one);
    }

    void open(const std::string& displayName) {
        installXErrorHandler();
        display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
        if (display == nullptr) return;
        const std::string hintName(kPasswordManagerHint);
        const char* names[] = {"CLIPBOARD", "UTF8_STRING",      "TARGETS",       "TEXT",
                               "INCR",      "PLORIX_SELECTION", hintName.c_str()};
        Atom atoms[7];
        XInternAtoms(display, const_cast<char**>(names), 7, False, atoms);
        clipboard = atoms[0], utf8 = atoms[1], targets = atoms[2], textAtom = atoms[3], incr = atoms[4],
        property = atoms[5], hint = atoms[6];
        XSetWindowAttributes attributes{};
        attributes.event_mask = PropertyChangeMask;
        window = XCreateWindow(display, DefaultRootWindow(display), -10, -10, 1, 1, 0, CopyFromParent,
                               InputOnly, CopyFromParent, CWEventMask, &attributes);
        long maxRequest = XExtendedMaxRequestSize(display);
        if (maxRequest == 0) maxRequest = XMaxRequestSize(display);
        maxServeBytes = maxRequest * 4 - 1024;
        XFlush(display);
    }

    void loop() {
        while (!stopping) {
            pollfd fds[2] = {{wake, POLLIN, 0}, {display ? ConnectionNumber(display) : -1, POLLIN, 0}};
            ::poll(fds, display ? 2 : 1, -1);
            std::uint64_t count = 0;
            [[maybe_unused]] const auto got = ::read(wake, &count, sizeof count);
            pumpEvents();
            std::deque<std::function<void(Worker&)>> ready;
            {
                std::lock_guard lock(mutex);
                ready.swap(jobs);
            }
            for (auto& job : ready) job(*this);
        }
    }

    // Handles the events already queued.
    void pumpEvents() {
        while (display != nullptr && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            handle(event);
        }
    }

    // Waits for an event that `wanted` accepts, serving others meanwhile.
    template <typename Wanted>
    bool waitFor(Wanted wanted, XEvent& found, std::chrono::steady_clock::time_point deadline) {
        for (;;) {
            while (XPending(display) > 0) {
                XNextEvent(display, &found);
                if (wanted(found)) return true;
                handle(found);
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return false;
            pollfd fd{ConnectionNumber(display), POLLIN, 0};
            ::poll(&fd, 1, static_cast<int>(left.count()));
        }
    }

    void handle(const XEvent& event) {
        if (event.type == SelectionClear && event.xselectionclear.selection == clipboard) {
            owned.reset();  // another program has put something on the clipboard
        } else if (event.type == SelectionRequest) {
            serve(event.xselectionrequest);
        }
    }

    void serve(const XSelectionRequestEvent& request) {
        XEvent reply{};
        reply.xselection.type = SelectionNotify;
        reply.xselection.requestor = request.requestor;
        reply.xselection.selection = request.selection;
        reply.xselection.target = request.target;
        reply.xselection.time = request.time;
        reply.xselection.property = None;
        const Atom into = request.property != None ? request.property : request.target;
        if (owned && request.selection == clipboard) {
            if (request.target == targets) {
                Atom offered[] = {targets, utf8, XA_STRING, textAtom};
                XChangeProperty(display, request.requestor, into, XA_ATOM, 32, PropModeReplace,
                                reinterpret_cast<unsigned char*>(offered), 4);
                reply.xselection.property = into;
            } else if (request.target == utf8 || request.target == textAtom || request.target == XA_STRING) {
                const bool latin1 = request.target == XA_STRING;
                const std::string data = latin1 ? toLatin1(*owned) : *owned;
                if (static_cast<long>(data.size()) <= maxServeBytes) {
                    XChangeProperty(display, request.requestor, into, latin1 ? XA_STRING : utf8, 8,
                                    PropModeReplace, reinterpret_cast<const unsigned char*>(data.data()),
                                    static_cast<int>(data.size()));
                    reply.xselection.property = into;
                }
            }
        }
        XSendEvent(display, request.requestor, False, NoEventMask, &reply);
        XFlush(display);
    }

    // Takes the property off our window (deleting it, which also tells an
    // incremental sender to go on).
    PropertyValue takeProperty() {
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        PropertyValue value;
        if (XGetWindowProperty(display, window, property, 0, kMaxReadBytes / 4, True, AnyPropertyType, &type,
                               &format, &items, &after, &data) == Success &&
            type != None) {
            value.present = true;
            value.type = static_cast<xcb_atom_t>(type);
            value.format = format;
            // Xlib hands 32-bit items over as longs.
            const std::size_t unit = format == 32 ? sizeof(long) : static_cast<std::size_t>(format / 8);
            if (data != nullptr) value.bytes.assign(reinterpret_cast<char*>(data), items * unit);
        }
        if (data != nullptr) XFree(data);
        return value;
    }

    std::optional<PropertyValue> read(Atom target) {
        const auto deadline = std::chrono::steady_clock::now() + kTimeout;
        XConvertSelection(display, clipboard, target, property, window, CurrentTime);
        XFlush(display);
        XEvent event;
        const bool notified = waitFor(
            [this](const XEvent& e) {
                return e.type == SelectionNotify && e.xselection.requestor == window &&
                       e.xselection.selection == clipboard;
            },
            event, deadline);
        unanswered = !notified;
        if (!notified || event.xselection.property == None) return std::nullopt;
        PropertyValue value = takeProperty();
        if (value.type == incr) {
            // Large texts come in portions, each announced by a new value.
            std::string all;
            for (;;) {
                const bool more = waitFor(
                    [this](const XEvent& e) {
                        return e.type == PropertyNotify && e.xproperty.window == window &&
                               e.xproperty.atom == property && e.xproperty.state == PropertyNewValue;
                    },
                    event, std::chrono::steady_clock::now() + kTimeout);
                if (!more) return std::nullopt;
                PropertyValue portion = takeProperty();
                if (portion.bytes.empty()) break;
                value.type = portion.type;
                value.format = portion.format;
                all += portion.bytes;
                if (static_cast<long>(all.size()) > kMaxReadBytes) return std::nullopt;
            }
            value.bytes = std::move(all);
        }
        if (!value.present) return std::nullopt;
        return value;
    }

    std::optional<std::string> readText(Atom target) {
        const auto value = read(target);
        if (!value) return std::nullopt;
        if (value->bytes.empty()) return std::string();
        if (value->type == utf8) return utf8OrLatin1(value->bytes);
        return textPropertyToUtf8(display, *value, utf8);
    }

    // Whether the owner offers `format`; an owner that does not list its
    // formats offers nothing beyond text.
    bool offers(Atom format) {
        const auto listed = read(targets);
        if (!listed || listed->type != XA_ATOM || listed->format != 32) return false;
        const auto* atoms = reinterpret_cast<const long*>(listed->bytes.data());
        const std::size_t count = listed->bytes.size() / sizeof(long);
        return std::find(atoms, atoms + count, static_cast<long>(format)) != atoms + count;
    }

    std::optional<ClipboardText> content() {
        if (display == nullptr) return std::nullopt;
        if (owned) return ClipboardText{*owned, false};
        if (XGetSelectionOwner(display, clipboard) == None) return std::nullopt;
        ClipboardText content;
        const bool marked = offers(hint);
        // An owner that does not answer at all is not asked again and again.
        if (unanswered) return std::nullopt;
        if (marked) {
            const auto mark = read(hint);
            content.secret = mark && mark->bytes.substr(0, mark->bytes.find('\0')) == "secret";
        }
        auto text = readText(utf8);
        if (!text) text = readText(XA_STRING);  // owners from before UTF-8
        if (!text) return std::nullopt;
        content.text = std::move(*text);
        return content;
    }

    bool setText(std::string_view text) {
        if (display == nullptr) return false;
        owned = std::string(text);
        XSetSelectionOwner(display, clipboard, window, CurrentTime);
        if (XGetSelectionOwner(display, clipboard) != window) {
            owned.reset();
            return false;
        }
        return true;
    }

    std::thread thread;
    int wake;
    std::mutex mutex;
    std::deque<std::function<void(Worker&)>> jobs;
    bool stopping = false;

    Display* display = nullptr;
    ::Window window = 0;
    Atom clipboard = 0, utf8 = 0, targets = 0, textAtom = 0, incr = 0, property = 0, hint = 0;
    long maxServeBytes = 0;
    bool unanswered = false;           // the last request timed out
    std::optional<std::string> owned;  // our text while we own the clipboard
};

X11Selection::X11Selection(std::string displayName) : displayName_(std::move(displayName)) {}

X11Selection::~X11Selection() = default;

template <typename Result>
Result X11Selection::onWorker(std::function<Result(Worker&)> job) {
    if (!worker_) worker_ = std::make_unique<Worker>(displayName_);
    auto promise = std::make_shared<std::promise<Result>>();
    std::future<Result> answer = promise->get_future();
    worker_->post([promise, job = std::move(job)](Worker& w) { promise->set_value(job(w)); });
    return answer.get();
}

std::optional<std::string> X11Selection::text() {
    auto content = read();
    if (!content) return std::nullopt;
    return std::move(content->text);
}

std::optional<ClipboardText> X11Selection::read() {
    return onWorker<std::optional<ClipboardText>>([](Worker& w) { return w.content(); });
}

bool X11Selection::setText(std::string_view text) {
    return onWorker<bool>([copy = std::string(text)](Worker& w) { return w.setText(copy); });
}

}  // namespace plorix::platform
