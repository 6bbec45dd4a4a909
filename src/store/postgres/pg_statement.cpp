#include "store/postgres/pg_connection.h"

#include <charconv>

namespace plorix::store {

namespace {

constexpr unsigned kTextType = 25;  // the type of a parameter the statement does not use

bool validUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = c < 0x80           ? 1
                             : (c >> 5) == 0x6  ? 2
                             : (c >> 4) == 0xE  ? 3
                             : (c >> 3) == 0x1E ? 4
                                                : 0;
        if (length == 0 || i + length > text.size() || c == 0xC0 || c == 0xC1 || c > 0xF4) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        const auto next = static_cast<unsigned char>(text[i + 1 < text.size() ? i + 1 : i]);
        if ((c == 0xE0 && next < 0xA0) || (c == 0xED && next > 0x9F) || (c == 0xF0 && next < 0x90) ||
            (c == 0xF4 && next > 0x8F))
            return false;  // overlong forms, surrogates, beyond U+10FFFF
        i += length;
    }
    return true;
}

// Which of $1..$n the text uses: the server cannot tell the type of one
// it does not see (a level of a seek binds every key value, uses some).
std::vector<unsigned> parameterTypes(const std::string& sql) {
    std::vector<bool> used;
    for (std::size_t i = 0; i < sql.size(); ++i) {
        if (sql[i] != '$') continue;
        int n = 0;
        const auto [end, ec] = std::from_chars(sql.data() + i + 1, sql.data() + sql.size(), n);
        if (ec != std::errc() || n <= 0) continue;
        if (used.size() < static_cast<std::size_t>(n)) used.resize(static_cast<std::size_t>(n));
        used[static_cast<std::size_t>(n - 1)] = true;
        i = static_cast<std::size_t>(end - sql.data()) - 1;
    }
    std::vector<unsigned> types(used.size(), 0);
    for (std::size_t i = 0; i < used.size(); ++i)
        if (!used[i]) types[i] = kTextType;
    return types;
}

bool startsWithWord(std::string_view sql, std::string_view word) {
    return sql.substr(0, word.size()) == word;
}

}  // namespace

PgStatement::PgStatement(PgConnection& connection, std::string sql, std::string name)
    : connection_(connection), sql_(std::move(sql)), name_(std::move(name)) {
    types_ = parameterTypes(sql_);
    values_.resize(types_.size());
    bound_.resize(types_.size());
    writes_ =
        startsWithWord(sql_, "INSERT") || startsWithWord(sql_, "UPDATE") || startsWithWord(sql_, "DELETE");
    returnsPosition_ = startsWithWord(sql_, "INSERT") && sql_.ends_with("RETURNING \"_pos\"");
}

PgStatement::~PgStatement() { PQclear(result_); }

void PgStatement::bind(int parameter, std::int64_t value) {
    const auto i = static_cast<std::size_t>(parameter - 1);
    if (parameter < 1 || i >= values_.size()) return;
    values_[i] = std::to_string(value);
    bound_[i] = true;
}

void PgStatement::bind(int parameter, std::string_view text, bool) {
    const auto i = static_cast<std::size_t>(parameter - 1);
    if (parameter < 1 || i >= values_.size()) return;
    if (!validUtf8(text)) invalidText_ = true;
    values_[i].assign(text);  // always a copy: the row read may overwrite the record
    bound_[i] = true;
}

int PgStatement::step() {
    if (!executed_) {
        executed_ = true;
        row_ = -1;
        rows_ = 0;
        if (connection_.run(*this) != 0) return 1;  // resultError() tells
    }
    if (result_ && ++row_ < rows_) return kStepRow;
    return kStepDone;
}

void PgStatement::reset() {
    PQclear(result_);
    result_ = nullptr;
    executed_ = false;
    invalidText_ = false;
    std::fill(bound_.begin(), bound_.end(), false);
}

std::int64_t PgStatement::integer(int column) const {
    std::int64_t value = 0;
    const char* text = PQgetvalue(result_, row_, column);
    std::from_chars(text, text + PQgetlength(result_, row_, column), value);
    return value;
}

std::string_view PgStatement::text(int column) const {
    return {PQgetvalue(result_, row_, column), static_cast<std::size_t>(PQgetlength(result_, row_, column))};
}

}  // namespace plorix::store
