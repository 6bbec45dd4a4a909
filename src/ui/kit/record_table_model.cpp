#include "ui/kit/record_table_model.h"

#include "data/field_pictures.h"
#include "settings/settings.h"
#include "ui/qt_text.h"

namespace plorix::ui {

RecordTableModel::RecordTableModel(const BrowseSpec& declaration, data::BrowsePage& page, QObject* parent)
    : QAbstractTableModel(parent), spec_(declaration), page_(page) {
    for (const BrowseColumn& column : declaration.columns)
        fields_.push_back(column.field.empty() ? -1 : declaration.schema->fieldIndex(column.field));
}

void RecordTableModel::reload() {
    beginResetModel();
    endResetModel();
}

const void* RecordTableModel::record(int row) const {
    const auto& rows = page_.rows();
    return row >= 0 && row < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(row)].record.get()
                                                           : nullptr;
}

std::int64_t RecordTableModel::position(int row) const {
    const auto& rows = page_.rows();
    return row >= 0 && row < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(row)].position : 0;
}

int RecordTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(page_.rows().size());
}

int RecordTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(spec_.columns.size());
}

QString RecordTableModel::text(int row, int column) const {
    const void* rec = record(row);
    const int field = fields_[static_cast<std::size_t>(column)];
    if (!rec || field < 0) return {};
    const store::FieldDesc& desc = spec_.schema->fields[static_cast<std::size_t>(field)];
    std::string_view picture = spec_.columns[static_cast<std::size_t>(column)].picture;
    if (picture == kFlagPicture) return {};
    if (picture.empty() && desc.kind == store::FieldKind::Date) picture = settings::settings().DateFormat;
    if (picture.empty()) return QString::fromStdString(store::fieldToText(desc, rec));
    return qs(data::formatFieldValue(desc, rec, picture)).trimmed();
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const void* rec = record(index.row());
    if (decoration_) {
        QVariant own = decoration_(rec, index.column(), role);
        if (own.isValid()) return own;
    }
    const std::size_t column = static_cast<std::size_t>(index.column());
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return text(index.row(), index.column());
    if (role == Qt::CheckStateRole && spec_.columns[column].picture == kFlagPicture && fields_[column] >= 0) {
        const store::FieldDesc& desc = spec_.schema->fields[static_cast<std::size_t>(fields_[column])];
        return store::fieldInt(desc, rec) ? Qt::Checked : Qt::Unchecked;
    }
    return {};
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return qs(spec_.columns[static_cast<std::size_t>(section)].header);
}

}  // namespace plorix::ui
