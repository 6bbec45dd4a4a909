#pragma once
// The process's set of desktop implementations. The program installs the
// Linux ones at start-up, tests install fakes; until then every operation
// is inert (no windows, nothing typed, nothing started).

#include "platform/clipboard.h"
#include "platform/dde.h"
#include "platform/keyboard.h"
#include "platform/processes.h"
#include "platform/sound.h"
#include "platform/user.h"
#include "platform/windows.h"

namespace plorix::platform {

// Non-owning; every member is always set (desktop() fills gaps with the
// inert implementation).
struct Desktop {
    Windows* windows = nullptr;
    Keyboard* keyboard = nullptr;
    Processes* processes = nullptr;
    Clipboard* clipboard = nullptr;
    Sound* sound = nullptr;
    User* user = nullptr;
    Dde* dde = nullptr;
};

// The current set.
const Desktop& desktop();
// Installs a set; members left null fall back to the inert implementation.
// The implementations must outlive their installation.
void setDesktop(const Desktop& set);
// Back to the inert set.
void resetDesktop();

// Installs a set for the lifetime of the guard and restores the previous one.
class ScopedDesktop {
public:
    explicit ScopedDesktop(const Desktop& set);
    ~ScopedDesktop();
    ScopedDesktop(const ScopedDesktop&) = delete;
    ScopedDesktop& operator=(const ScopedDesktop&) = delete;

private:
    Desktop previous_;
};

}  // namespace plorix::platform
