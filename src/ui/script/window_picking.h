#pragma once
// Choosing a window by its title for a script item: from the windows open
// now, or by clicking one; and choosing the text of one of its controls.

#include <QString>
#include <QStringList>
#include <optional>

class QLineEdit;
class QToolButton;
class QWidget;

namespace plorix::ui {

// How long a click on a window is waited for.
inline constexpr int kPickClickMilliseconds = 15000;

// A "Pick" button beside `target`: its menu lists the titles of the windows
// open now and offers "Click a Window..."; the title chosen fills `target`.
QToolButton* windowTitleButton(QLineEdit* target, QWidget* parent);

// Takes the title of the next window the user clicks (the pointer shows a
// crosshair meanwhile; another button, or no click in time, takes none).
std::optional<QString> clickedWindowTitle(QWidget* parent);

// The texts of the controls of the first window `titlePattern` finds,
// without duplicates; empty when there is no such window.
QStringList childTexts(const QString& titlePattern);

}  // namespace plorix::ui
