#pragma once
// The process's time zone for a scope: set when made (and again by set()),
// the process's own back at the end.

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace plorix::test {

class ZoneScope {
public:
    explicit ZoneScope(const char* zone) {
        if (const char* previous = std::getenv("TZ")) previous_ = previous;
        set(zone);
    }
    ~ZoneScope() {
        if (previous_)
            setenv("TZ", previous_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ZoneScope(const ZoneScope&) = delete;
    ZoneScope& operator=(const ZoneScope&) = delete;

    void set(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
    }

private:
    std::optional<std::string> previous_;
};

}  // namespace plorix::test
