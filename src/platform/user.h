#pragma once
// Who is using the program.

#include <string>

namespace plorix::platform {

class User {
public:
    virtual ~User() = default;
    // The login name; "" when it cannot be found.
    virtual std::string loginName() = 0;
};

}  // namespace plorix::platform
