#pragma once
// Commands to other running applications. On this desktop the service is a
// D-Bus bus name, the topic an object path, and the command
// "interface.Method" optionally followed by string arguments in parentheses.

#include <string>
#include <string_view>

namespace plorix::platform {

enum class DdeOutcome {
    Done,
    NoService,   // nobody owns the bus name (the application is not running)
    BadCommand,  // the command text is not "interface.Method(args)"
    Failed,      // the call reached the application and it answered with an error
};

struct DdeResult {
    DdeOutcome outcome = DdeOutcome::Failed;
    std::string errorText;  // the bus's error name and message when not Done
    bool ok() const { return outcome == DdeOutcome::Done; }
};

class Dde {
public:
    virtual ~Dde() = default;
    virtual DdeResult execute(std::string_view service, std::string_view topic, std::string_view command) = 0;
};

}  // namespace plorix::platform
