#include "data/browse_page.h"

#include <algorithm>
#include <limits>

#include "runtime/fixed_text.h"

namespace plorix::data {

using namespace store;

namespace {

// A text that sorts after every stored one: the last code point there is.
constexpr std::string_view kHighestText = "\xF4\x8F\xBF\xBF";

std::int64_t highestValue(FieldKind kind) {
    switch (kind) {
    case FieldKind::Int16: return std::numeric_limits<std::int16_t>::max();
    case FieldKind::Byte: return std::numeric_limits<std::uint8_t>::max();
    default: return std::numeric_limits<std::int32_t>::max();
    }
}

const KeyDesc& keyOf(const TableSchema& schema, int key) {
    return schema.keys[static_cast<std::size_t>(key)];
}

}  // namespace

int compareKeyFields(const TableSchema& schema, const KeyDesc& key, const void* a, const void* b,
                     int components) {
    const int count = std::min<int>(components, static_cast<int>(key.components.size()));
    for (int i = 0; i < count; ++i) {
        const FieldDesc& field =
            schema.fields[static_cast<std::size_t>(key.components[static_cast<std::size_t>(i)])];
        int order;
        if (isText(field.kind)) {
            const std::string_view x = fieldText(field, a), y = fieldText(field, b);
            order = key.nocase() ? compareNoCase(x, y) : x.compare(y);
        } else {
            const std::int64_t x = fieldInt(field, a), y = fieldInt(field, b);
            order = x < y ? -1 : x > y ? 1 : 0;
        }
        if (order != 0) return order < 0 ? -1 : 1;
    }
    return 0;
}

BrowsePage::BrowsePage(const TableSchema& schema, std::string storedName) : table_(schema) {
    table_.setName(std::move(storedName));
}

BrowsePage::~BrowsePage() = default;

int BrowsePage::open() { return table_.isOpen() ? 0 : table_.open(kReadOnlyDenyNone); }

void BrowsePage::close() { table_.close(); }

void BrowsePage::setKey(int key) {
    key_ = key;
    rows_.clear();
}

void BrowsePage::setRange(const void* values, int components) {
    rangeComponents_ = values ? components : 0;
    if (!rangeComponents_) {
        range_.reset();
        return;
    }
    range_ = schema().makeRecord();
    schema().assignRecord(values, range_.get());
}

bool BrowsePage::inRange(const void* record) const {
    return !range_ ||
           compareKeyFields(schema(), keyOf(schema(), key_), record, range_.get(), rangeComponents_) == 0;
}

bool BrowsePage::wanted(const void* record) const { return !filter_ || filter_(record); }

void BrowsePage::primeRange(bool high) {
    const TableSchema& s = schema();
    void* buffer = table_.buffer();
    clearRecord(s, buffer);
    const KeyDesc& key = keyOf(s, key_);
    for (std::size_t i = 0; i < key.components.size(); ++i) {
        const FieldDesc& field = s.fields[static_cast<std::size_t>(key.components[i])];
        if (static_cast<int>(i) < rangeComponents_) {
            if (isText(field.kind))
                setFieldText(field, buffer, fieldText(field, range_.get()));
            else
                setFieldInt(field, buffer, fieldInt(field, range_.get()));
        } else if (high) {
            if (isText(field.kind))
                setFieldText(field, buffer, kHighestText);
            else
                setFieldInt(field, buffer, highestValue(field.kind));
        }
    }
}

// Reads on from where the table's cursor stands, keeping up to `want` rows
// in range that the filter takes. Rows that sort before the range (a seek
// may start there) are passed over; the first row beyond it ends the read.
int BrowsePage::fill(bool forward, int want, std::vector<PageRow>& into) {
    const TableSchema& s = schema();
    const KeyDesc& key = keyOf(s, key_);
    while (static_cast<int>(into.size()) < want) {
        const int code = forward ? table_.next() : table_.previous();
        if (code == kRecordNotAvailable) return kRecordNotAvailable;
        if (code != kNoError) return code;
        if (range_) {
            const int order = compareKeyFields(s, key, table_.buffer(), range_.get(), rangeComponents_);
            if (order != 0 && (order < 0) == forward) continue;
            if (order != 0) return kRecordNotAvailable;
        }
        if (!wanted(table_.buffer())) continue;
        PageRow row{s.makeRecord(), table_.position()};
        s.assignRecord(table_.buffer(), row.record.get());
        into.push_back(std::move(row));
    }
    return kNoError;
}

// The rows beyond `anchor` in one direction (nearest first). Rows of equal
// key come in insertion order, so those on the anchor's side of it are
// passed over; a deleted anchor still leaves its place in the order.
int BrowsePage::stepFrom(const PageRow& anchor, bool forward, int want, std::vector<PageRow>& into,
                         bool inclusive) {
    const TableSchema& s = schema();
    const KeyDesc& key = keyOf(s, key_);
    s.assignRecord(anchor.record.get(), table_.buffer());
    table_.setAt(key_);
    const int components = static_cast<int>(key.components.size());
    while (static_cast<int>(into.size()) < want) {
        const int code = forward ? table_.next() : table_.previous();
        if (code != kNoError) return code;
        const bool sameKey = compareKeyFields(s, key, table_.buffer(), anchor.record.get(), components) == 0;
        const std::int64_t position = table_.position();
        if (sameKey && !(inclusive && position == anchor.position) &&
            (forward ? position <= anchor.position : position >= anchor.position))
            continue;
        if (!inRange(table_.buffer())) return kRecordNotAvailable;
        if (!wanted(table_.buffer())) continue;
        PageRow row{s.makeRecord(), position};
        s.assignRecord(table_.buffer(), row.record.get());
        into.push_back(std::move(row));
    }
    return kNoError;
}

// Fills the page from the cursor just set, then tops a short page up from
// the other side so the last page shows as many rows as any other.
int BrowsePage::fillFrom(bool forward, const PageRow* anchor) {
    rows_.clear();
    int code = anchor ? stepFrom(*anchor, true, pageSize_, rows_, true) : fill(forward, pageSize_, rows_);
    if (code != kNoError && code != kRecordNotAvailable) return code;
    if (!forward) std::reverse(rows_.begin(), rows_.end());
    bool& far = forward ? atEnd_ : atStart_;
    bool& near = forward ? atStart_ : atEnd_;
    far = code == kRecordNotAvailable;
    // A place past the last row shows the last page.
    if (rows_.empty() && forward && !anchor) return last();
    if (rows_.empty()) {
        near = true;
        return kNoError;
    }
    // One row more than the page has room for tells whether any lie beyond.
    const int room = far ? pageSize_ - static_cast<int>(rows_.size()) : 0;
    std::vector<PageRow> more;
    const PageRow& edge = forward ? rows_.front() : rows_.back();
    code = stepFrom(edge, !forward, room + 1, more);
    if (code != kNoError && code != kRecordNotAvailable) return code;
    near = static_cast<int>(more.size()) <= room;
    more.resize(std::min<std::size_t>(more.size(), static_cast<std::size_t>(room)));
    if (!more.empty()) {
        if (forward) {
            rows_.insert(rows_.begin(), std::make_move_iterator(more.rbegin()),
                         std::make_move_iterator(more.rend()));
        } else {
            rows_.insert(rows_.end(), std::make_move_iterator(more.begin()),
                         std::make_move_iterator(more.end()));
        }
    }
    return kNoError;
}

int BrowsePage::first() {
    if (range_) {
        primeRange(false);
        table_.setAt(key_);
    } else {
        table_.setStart(key_);
    }
    return fillFrom(true);
}

int BrowsePage::last() {
    if (range_) {
        primeRange(true);
        table_.setAt(key_);
    } else {
        table_.setEnd(key_);
    }
    return fillFrom(false);
}

int BrowsePage::scroll(int rows) {
    if (rows_.empty()) return first();
    const bool forward = rows > 0;
    std::vector<PageRow> more;
    const int code = stepFrom(forward ? rows_.back() : rows_.front(), forward, std::abs(rows), more);
    if (code != kNoError && code != kRecordNotAvailable) return code;
    if (code == kRecordNotAvailable) (forward ? atEnd_ : atStart_) = true;
    if (more.empty()) return kNoError;
    const std::size_t keep = static_cast<std::size_t>(pageSize_);
    if (forward) {
        rows_.insert(rows_.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
        if (rows_.size() > keep) {
            rows_.erase(rows_.begin(), rows_.end() - static_cast<std::ptrdiff_t>(keep));
            atStart_ = false;
        }
    } else {
        rows_.insert(rows_.begin(), std::make_move_iterator(more.rbegin()),
                     std::make_move_iterator(more.rend()));
        if (rows_.size() > keep) {
            rows_.resize(keep);
            atEnd_ = false;
        }
    }
    return kNoError;
}

int BrowsePage::pageDown() { return scroll(pageSize_); }
int BrowsePage::pageUp() { return scroll(-pageSize_); }

int BrowsePage::seek(const void* record) {
    schema().assignRecord(record, table_.buffer());
    table_.setAt(key_);
    return fillFrom(true);
}

bool BrowsePage::canLocate() const {
    if (key_ < 0) return false;
    const KeyDesc& key = keyOf(schema(), key_);
    if (rangeComponents_ >= static_cast<int>(key.components.size())) return false;
    return isText(
        schema()
            .fields[static_cast<std::size_t>(key.components[static_cast<std::size_t>(rangeComponents_)])]
            .kind);
}

int BrowsePage::locate(std::string_view text) {
    if (!canLocate()) return first();
    if (range_) {
        primeRange(false);
    } else {
        clearRecord(schema(), table_.buffer());
    }
    const KeyDesc& key = keyOf(schema(), key_);
    setFieldText(
        schema().fields[static_cast<std::size_t>(key.components[static_cast<std::size_t>(rangeComponents_)])],
        table_.buffer(), text);
    table_.setAt(key_);
    return fillFrom(true);
}

int BrowsePage::refresh() {
    if (rows_.empty()) return first();
    const PageRow top = rows_.front();
    const int code = fillFrom(true, &top);
    // Every row from the top on went away or now sorts before it: the rows
    // left are all behind, so the page shows the last of them.
    if (code == store::kNoError && rows_.empty()) return last();
    return code;
}

int BrowsePage::rowOf(std::int64_t position) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].position == position) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace plorix::data
