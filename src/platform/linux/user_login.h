#pragma once
// The login name of the user running the program.

#include "platform/user.h"

namespace plorix::platform {

class LoginUser final : public User {
public:
    std::string loginName() override;
};

}  // namespace plorix::platform
