#pragma once
// One page of a browse: the rows of a table around an anchor, in the order of
// one key, read through a Table of the page's own (its own buffer and cursor
// on the shared connection), so the windows' record buffers are left alone.
//
// A page never reads more than it shows plus what it steps over: opening,
// paging and locating cost the same on 100 rows as on 100,000. A fixed range
// keeps the rows whose leading key components equal given values (the day of
// the day view, the category of the category view, the items of one task);
// a filter leaves out rows a predicate refuses (active entries only, a query
// by example).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/store.h"

namespace plorix::data {

struct PageRow {
    std::shared_ptr<void> record;
    std::int64_t position = 0;
};

class BrowsePage {
public:
    // `storedName` is the table as the program opened it; the page opens a
    // Table of its own on the same file when open() is called.
    BrowsePage(const store::TableSchema& schema, std::string storedName);
    ~BrowsePage();

    int open();  // the store's code
    void close();
    const store::TableSchema& schema() const { return table_.schema(); }

    // The key by index into the schema; the page is emptied.
    void setKey(int key);
    int key() const { return key_; }
    // Rows whose first `components` key fields equal those of `values` (a
    // record of the table; text compared as the key compares it). 0 clears.
    void setRange(const void* values, int components);
    int rangeComponents() const { return rangeComponents_; }
    void setFilter(std::function<bool(const void* record)> filter) { filter_ = std::move(filter); }
    void setPageSize(int rows) { pageSize_ = rows < 1 ? 1 : rows; }
    int pageSize() const { return pageSize_; }

    // Each fills the page and returns the store's code (0 also when the
    // range holds nothing; 33 never reaches the caller).
    int first();
    int last();
    int pageDown();
    int pageUp();
    int scroll(int rows);  // one or more rows on (positive) or back
    // The page that starts at the first row whose key is at or after
    // `record`'s (or, past the end, the last page).
    int seek(const void* record);
    // The first row whose first free key component (the one after the
    // range) begins with `text` or follows it; only for a text component.
    int locate(std::string_view text);
    bool canLocate() const;
    // Reads the page again from its first row (after a change to the table).
    int refresh();

    const std::vector<PageRow>& rows() const { return rows_; }
    bool atStart() const { return atStart_; }  // nothing lies before the first row
    bool atEnd() const { return atEnd_; }      // nothing lies after the last row
    // The row holding `position`, -1 when it is not on the page.
    int rowOf(std::int64_t position) const;
    const store::ErrorState& error() const { return table_.error(); }

private:
    bool inRange(const void* record) const;
    bool wanted(const void* record) const;
    void primeRange(bool high);
    int fill(bool forward, int want, std::vector<PageRow>& into);
    int fillFrom(bool forward, const PageRow* anchor = nullptr);
    int stepFrom(const PageRow& anchor, bool forward, int want, std::vector<PageRow>& into,
                 bool inclusive = false);

    store::Table table_;
    int key_ = -1;
    std::shared_ptr<void> range_;
    int rangeComponents_ = 0;
    std::function<bool(const void*)> filter_;
    int pageSize_ = 20;
    std::vector<PageRow> rows_;
    bool atStart_ = true;
    bool atEnd_ = true;
};

// -1, 0 or 1 as the first `components` key fields of `a` sort before, with
// or after those of `b` (texts ignoring letter case on a nocase key).
int compareKeyFields(const store::TableSchema& schema, const store::KeyDesc& key, const void* a,
                     const void* b, int components);

}  // namespace plorix::data
