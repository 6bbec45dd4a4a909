#pragma once
// Text members of record buffers. A value is kept with its trailing blanks
// removed and cut to its capacity in characters (UTF-8) on assignment, so a
// buffer can never hold more than its field stores.

#include <cstddef>
#include <string>
#include <string_view>

namespace plorix::store {

class TextBase {
public:
    const std::string& str() const { return value_; }
    const char* c_str() const { return value_.c_str(); }
    bool empty() const { return value_.empty(); }
    std::size_t size() const { return value_.size(); }
    operator std::string_view() const { return value_; }
    // Stores v cut to `capacity` characters, trailing blanks removed.
    void assign(std::string_view v, int capacity);
    void clear() { value_.clear(); }

    friend bool operator==(const TextBase& a, const TextBase& b) { return a.value_ == b.value_; }
    friend bool operator==(const TextBase& a, std::string_view b) { return a.value_ == b; }

protected:
    std::string value_;
};

template <int Capacity>
class Text : public TextBase {
public:
    static constexpr int capacity = Capacity;
    Text() = default;
    Text(std::string_view v) { assign(v, Capacity); }    // NOLINT: implicit by design
    Text(const char* v) { assign(v, Capacity); }         // NOLINT
    Text(const std::string& v) { assign(v, Capacity); }  // NOLINT
    Text& operator=(std::string_view v) {
        assign(v, Capacity);
        return *this;
    }
    Text& operator=(const char* v) {
        assign(v, Capacity);
        return *this;
    }
    Text& operator=(const std::string& v) {
        assign(v, Capacity);
        return *this;
    }
};

}  // namespace plorix::store
