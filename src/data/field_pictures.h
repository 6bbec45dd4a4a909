#pragma once
// Field values in and out of comma-separated files: formatted with a
// display picture on export, read back with a column's picture on import.

#include <string>
#include <string_view>

#include "runtime/pictures.h"
#include "store/schema.h"

namespace plorix::data {

// The field's value shown with `picture` (numbers, dates and times through
// the picture; texts cut to its width).
std::string formatFieldValue(const store::FieldDesc& field, const void* record, std::string_view picture);

// One export column: a field and its picture, read once for every record.
class ExportColumn {
public:
    ExportColumn(const store::FieldDesc& field, std::string picture);
    const std::string& picture() const { return picture_; }
    // The value as the file holds it: as formatFieldValue shows it, except
    // that a whole number goes without the blanks that align it (a bare
    // number is written left-aligned anyway).
    std::string text(const void* record) const;

private:
    const store::FieldDesc* field_;
    std::string picture_;
    bool wholeNumber_ = false;  // an integer field shown with a number picture without decimals
    bool blankZero_ = false;
    int textWidth_ = 0;  // a text field shown with a text picture: its width
    PictureKind dateOrTime_ =
        PictureKind::Invalid;  // a date or time field shown with its own kind of picture
};

// Stores text read from a file into the field: read through the column's
// picture when it is a date, time or number picture, or taken as it stands.
// A date or time field fed from a text column reads the text with
// `fieldPicture`, the field's own export picture, so that an exported file
// imports back whatever picture its column was given. Texts are cut to the
// field's width. Returns why the value cannot be stored, empty on success
// (the record is unchanged on failure).
std::string storeFieldValue(const store::FieldDesc& field, void* record, std::string_view text,
                            std::string_view picture, std::string_view fieldPicture);

// One import column: storeFieldValue() with the pictures taken apart once for
// every line.
class ImportFieldReader {
public:
    ImportFieldReader(const store::FieldDesc& field, std::string picture, std::string fieldPicture);
    std::string store(void* record, std::string_view text) const;

private:
    const store::FieldDesc* field_;
    std::string picture_;             // the column's picture
    std::string fieldPicture_;        // the field's own export picture
    bool readsFieldPicture_ = false;  // the text is read with the field's picture
    PictureKind kind_;                // the kind of the picture it is read with
    bool asText_ = false;             // stored as it stands
};

}  // namespace plorix::data
