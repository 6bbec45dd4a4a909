#pragma once
// Field values in and out of comma-separated files: formatted with a
// display picture on export, read back with a column's picture on import.

#include <string>
#include <string_view>

#include "data/schema.h"

namespace plorix::io {

// The field's value shown with `picture` (numbers, dates and times through
// the picture; texts cut to its width).
std::string formatFieldValue(const data::FieldDesc& field, const void* record, std::string_view picture);

// Stores text read from a file into the field: read through the column's
// picture when it is a date, time or number picture, or taken as it stands.
// A date or time field fed from a text column reads the text with
// `fieldPicture`, the field's own export picture, so that an exported file
// imports back whatever picture its column was given. Texts are cut to the
// field's width. Returns why the value cannot be stored, empty on success
// (the record is unchanged on failure).
std::string storeFieldValue(const data::FieldDesc& field, void* record, std::string_view text,
                            std::string_view picture, std::string_view fieldPicture);

}  // namespace plorix::io
