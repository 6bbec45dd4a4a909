#pragma once
// The three tables that can be exported to and imported from
// comma-separated files, with the fields offered for each: their names as
// written in a header line, their default pictures, the order records go
// out in, and the fields a column can be assigned to on import.

#include <string>
#include <string_view>
#include <vector>

#include "store/schema.h"

namespace plorix::io {

enum class ExchangeTable { Schedule, Todo, Contact };

struct ExchangeField {
    std::string_view name;     // as offered and as written in the header: "SCH:TaskType"
    std::string_view picture;  // default picture: "@s20"
    // The picture a column takes when it is assigned to this field by name
    // (the schedule's dates "@d6" and times "@t3"); empty: the column keeps its own.
    std::string_view byNamePicture = {};
};

struct ExchangeTableDef {
    ExchangeTable table;
    std::string_view label;  // "Schedule"
    const store::TableSchema& (*schema)();
    int exportKey;  // the key whose order records are exported in
    std::vector<ExchangeField> exportFields;
    std::vector<ExchangeField> importTargets;
};

const ExchangeTableDef& exchangeTable(ExchangeTable table);
// By label, any letter case; nullptr for a table that is not exchanged.
const ExchangeTableDef* exchangeTableByLabel(std::string_view label);

// The picture dialog of the import and export windows refuses, with this
// title and text, a picture that does not begin with "@".
inline constexpr std::string_view kInvalidPictureTitle = "Invalid Picture!";
inline constexpr std::string_view kInvalidPictureText = "Pictures must begin with \"@\"";
bool pictureAccepted(std::string_view picture);

// The schema field a list entry stands for.
const store::FieldDesc& schemaField(const ExchangeTableDef& def, const ExchangeField& field);
// The entry of a list by name, any letter case; -1 when it is not there.
int findExchangeField(const std::vector<ExchangeField>& list, std::string_view name);

}  // namespace plorix::io
