#pragma once
// The rows of a BrowsePage as a Qt table model: one row per record on the
// page, one column per declared column, texts through the column's picture.
// A window may add what its columns do not say (icons, colours) through a
// decoration.

#include <QAbstractTableModel>
#include <cstdint>
#include <functional>

#include "data/browse_page.h"
#include "ui/kit/browse_declaration.h"

namespace plorix::ui {

class RecordTableModel final : public QAbstractTableModel {
public:
    // A value for a role of a cell, or an invalid QVariant for the default.
    using Decoration = std::function<QVariant(const void* record, int column, int role)>;

    RecordTableModel(const BrowseSpec& declaration, data::BrowsePage& page, QObject* parent = nullptr);

    void setDecoration(Decoration decoration) { decoration_ = std::move(decoration); }
    // Shows the page's rows as they are now.
    void reload();
    const void* record(int row) const;
    std::int64_t position(int row) const;
    // The cell's text as shown.
    QString text(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const BrowseSpec& spec_;
    data::BrowsePage& page_;
    std::vector<int> fields_;  // field index per column, -1 for a drawn one
    Decoration decoration_;
};

}  // namespace plorix::ui
