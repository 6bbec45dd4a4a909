#include "data/field_pictures.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "data/numbering.h"
#include "runtime/fixed_text.h"
#include "runtime/pictures.h"

namespace plorix::data {

namespace {

using store::FieldKind;

struct Range {
    double low;
    double high;
};

Range rangeOf(FieldKind kind) {
    switch (kind) {
    case FieldKind::Byte: return {0, 255};
    case FieldKind::Int16:
        return {std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()};
    case FieldKind::Date: return {0, std::numeric_limits<std::int32_t>::max()};
    case FieldKind::Time: return {0, kEndOfDay};
    default: return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
    }
}

std::string describe(std::string_view text, PictureKind kind, std::string_view picture) {
    const std::string quoted = "'" + std::string(text) + "'";
    switch (kind) {
    case PictureKind::Date: return quoted + " is not a date of picture " + std::string(picture);
    case PictureKind::Time: return quoted + " is not a time of day";
    default: return quoted + " is not a number";
    }
}

std::string wholeNumberText(double value) { return std::to_string(static_cast<long long>(value)); }

}  // namespace

std::string formatFieldValue(const store::FieldDesc& field, const void* record, std::string_view picture) {
    if (store::isText(field.kind)) return formatPicture(store::fieldText(field, record).str(), picture);
    return formatPicture(static_cast<double>(store::fieldInt(field, record)), picture);
}

ExportColumn::ExportColumn(const store::FieldDesc& field, std::string picture)
    : field_(&field), picture_(std::move(picture)) {
    const auto parsed = readPicture(picture_);
    const bool integer =
        field.kind == FieldKind::Int32 || field.kind == FieldKind::Int16 || field.kind == FieldKind::Byte;
    wholeNumber_ = integer && parsed && parsed->kind == PictureKind::Number && parsed->decimals == 0;
    blankZero_ = parsed && parsed->blankZero;
    if (parsed && parsed->kind == PictureKind::Text && store::isText(field.kind)) textWidth_ = parsed->width;
    if (parsed && ((parsed->kind == PictureKind::Date && field.kind == FieldKind::Date) ||
                   (parsed->kind == PictureKind::Time && field.kind == FieldKind::Time)))
        dateOrTime_ = parsed->kind;
}

std::string ExportColumn::text(const void* record) const {
    // The common cases go straight to their formatter; formatFieldValue
    // shows them the same after looking at the picture again.
    if (textWidth_ > 0)
        return cutToWidth(store::fieldText(*field_, record).str(), static_cast<std::size_t>(textWidth_));
    if (dateOrTime_ == PictureKind::Date)
        return formatDate(static_cast<Date>(store::fieldInt(*field_, record)), picture_);
    if (dateOrTime_ == PictureKind::Time)
        return formatTime(static_cast<Time>(store::fieldInt(*field_, record)), picture_);
    if (!wholeNumber_) return formatFieldValue(*field_, record, picture_);
    const std::int64_t value = store::fieldInt(*field_, record);
    return value == 0 && blankZero_ ? std::string() : std::to_string(value);
}

std::string storeFieldValue(const store::FieldDesc& field, void* record, std::string_view text,
                            std::string_view picture, std::string_view fieldPicture) {
    return ImportFieldReader(field, std::string(picture), std::string(fieldPicture)).store(record, text);
}

ImportFieldReader::ImportFieldReader(const store::FieldDesc& field, std::string picture,
                                     std::string fieldPicture)
    : field_(&field), picture_(std::move(picture)), fieldPicture_(std::move(fieldPicture)) {
    const bool dateOrTime = field.kind == FieldKind::Date || field.kind == FieldKind::Time;
    kind_ = pictureKind(picture_);
    if (dateOrTime && (kind_ == PictureKind::Text || kind_ == PictureKind::Invalid)) {
        readsFieldPicture_ = true;
        kind_ = pictureKind(fieldPicture_);
    }
    asText_ = store::isText(field.kind) &&
              (kind_ == PictureKind::Text || kind_ == PictureKind::Number || kind_ == PictureKind::Invalid);
}

std::string ImportFieldReader::store(void* record, std::string_view text) const {
    const store::FieldDesc& field = *field_;
    if (asText_) {
        store::setFieldText(field, record, text);
        return {};
    }
    const bool dateOrTime = field.kind == FieldKind::Date || field.kind == FieldKind::Time;
    PictureKind kind = kind_;
    std::string_view reading = readsFieldPicture_ ? fieldPicture_ : picture_;
    // A number picture reads any number; a text picture on a number field
    // too (a spreadsheet quotes what it likes).
    std::optional<double> value;
    if (kind == PictureKind::Date) {
        if (const auto date = parseDate(text, reading)) value = *date;
    } else if (kind == PictureKind::Time) {
        if (const auto time = parseTime(text)) value = *time;
    } else {
        value = parseNumber(text);
    }
    if (!value && dateOrTime && kind == PictureKind::Number) {
        // Bare dates ("31/10/1959" unquoted) put the column on a number picture.
        reading = fieldPicture_;
        kind = pictureKind(reading);
        value = parsePicture(text, reading);
    }
    if (!value) return describe(text, kind, reading);
    if (store::isText(field.kind)) {
        store::setFieldText(field, record, wholeNumberText(*value));
        return {};
    }
    if (*value != std::trunc(*value)) return "'" + std::string(text) + "' is not a whole number";
    const Range range = rangeOf(field.kind);
    if (*value < range.low || *value > range.high)
        return "'" + std::string(text) + "' is out of range for " + field.name;
    if (const std::string why = identifierProblem(field, static_cast<std::int64_t>(*value)); !why.empty())
        return field.name + " '" + std::string(text) + "' " + why;
    store::setFieldInt(field, record, static_cast<std::int64_t>(*value));
    return {};
}

}  // namespace plorix::data
