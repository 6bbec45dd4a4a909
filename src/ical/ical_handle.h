#pragma once
// Ownership of libical's objects, so every path frees them.

#include <libical/ical.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace plorix::ical {

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentFree>;

struct IteratorFree {
    void operator()(icalrecur_iterator* iterator) const { icalrecur_iterator_free(iterator); }
};
using IteratorPtr = std::unique_ptr<icalrecur_iterator, IteratorFree>;

// A string libical allocated for the caller (the *_r functions).
inline std::string takeString(char* text) {
    std::string out = text ? text : "";
    std::free(text);
    return out;
}

}  // namespace plorix::ical
