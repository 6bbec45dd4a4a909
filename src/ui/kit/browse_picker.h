#pragma once
// A browse of a window's own (with its own buttons and tabs) opened to pick
// a record, as a modal dialog: the browse is told
// how to hand back its choice, which closes the dialog.
//
//     return pickRecord<std::int32_t>("Select an Email Message", "SelectMessages", parent,
//         [&](auto choose, QWidget* picker) { return new BrowseMessages(prompter, {}, choose, picker); });

#include <QDialog>
#include <functional>
#include <optional>
#include <string_view>

namespace plorix::ui {

class BrowseWindow;

// Makes a browse part of a picker's dialog rather than a window of its own
// (no place of its own kept, not deleted on close); called before start().
void makePartOfPicker(BrowseWindow& browse);

// Lays out `browse` in `picker` (as wide as the browse made itself, with
// room for rows), titles it and keeps its place under `section`.
void hostPicker(QDialog& picker, BrowseWindow& browse, std::string_view title, std::string_view section);

// `make` builds the browse inside the picker it is given, with the choose
// function it is to call; the value chosen, nullopt when the picker was closed.
template <typename Value, typename Make>
std::optional<Value> pickRecord(std::string_view title, std::string_view section, QWidget* parent,
                                Make make) {
    QDialog picker(parent);
    std::optional<Value> chosen;
    const std::function<void(const Value&)> choose = [&](const Value& value) {
        chosen = value;
        picker.accept();
    };
    hostPicker(picker, *make(choose, &picker), title, section);
    if (picker.exec() != QDialog::Accepted) return std::nullopt;
    return chosen;
}

}  // namespace plorix::ui
