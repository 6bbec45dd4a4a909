#pragma once
// What a report prints, before any page exists: one band per record (a
// row of columns, or a block of labelled values), and a group heading
// wherever the value the report is grouped by changes.

#include <string>
#include <vector>

namespace plorix::reports {

enum class Align { Left, Right };

struct ReportColumn {
    std::string header;
    int width;  // in average characters; the painter shares the page width out by these
    Align align = Align::Left;
};

struct LabelledValue {
    std::string label;
    std::string value;
    bool wide = false;  // takes a whole line and may wrap (command, message)
};

enum class BandKind { Group, Row, Block };

struct Band {
    BandKind kind = BandKind::Row;
    std::vector<std::string> cells;     // Row: one per column; Group: the heading
    std::vector<LabelledValue> values;  // Block: in print order
};

}  // namespace plorix::reports
