#pragma once
// The print-range window of the report preview: all pages, the marked or
// the unmarked ones, or a range From/To.

#include <QDialog>
#include <vector>

class QRadioButton;
class QSpinBox;

namespace plorix::reports {

enum class PrintRange { All, Marked, Unmarked, Range };

// The pages (from 0) a range selects; `from` and `to` count from 1 and
// are put in order and inside the report.
std::vector<int> pagesInRange(PrintRange range, const std::vector<bool>& marked, int from, int to);

class PrintRangeWindow final : public QDialog {
public:
    PrintRangeWindow(int pageCount, int currentPage, QWidget* parent = nullptr);
    PrintRange range() const;
    int from() const;
    int to() const;
    void choose(PrintRange range);
    void setRange(int from, int to);

private:
    QRadioButton* choices_[4] = {};
    QSpinBox* from_ = nullptr;
    QSpinBox* to_ = nullptr;
};

}  // namespace plorix::reports
