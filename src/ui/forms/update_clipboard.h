#pragma once
// UPDATECLIPBOARD ("Clipboard Record"): one entry of the clipboard history
// shown whole, with the moment it was copied and its save mark. The browse
// opens it to view an entry, so "&Ok" and the mark stay disabled and
// nothing is written.

#include <QDialog>
#include <cstdint>

#include "data/tables/clipboard.h"
#include "runtime/prompter.h"

namespace plorix::ui {

class UpdateClipboard final : public QDialog {
    Q_OBJECT
public:
    explicit UpdateClipboard(const data::Clipboard& entry, QWidget* parent = nullptr);
};

// Shows the entry stored at `position` until the user closes it.
void viewClipboardEntry(std::int64_t position, Prompter& prompter, QWidget* parent);

}  // namespace plorix::ui
