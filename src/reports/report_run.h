#pragma once
// One run of a report: reads its records in steps of 25 from a timer with
// the progress window "Progress...", lays the bands out on pages, and then
// shows them in the report's preview or prints them. Cancel asks first,
// and may preview the pages made so far. The run deletes itself when done.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "reports/report_pages.h"
#include "reports/rows/report_reader.h"
#include "runtime/prompter.h"

class QWidget;

namespace plorix::reports {

// The run's texts, each in one place.
inline constexpr std::string_view kProgressTitle = "Progress...";
inline constexpr std::string_view kGenerating = "Generating Report";
inline constexpr std::string_view kPrinting = "Printing Report";
inline constexpr std::string_view kAskPreview = "Do you wish to PREVIEW this Report?";
inline constexpr std::string_view kAskCancel = "Are you sure you want to CANCEL this Report?";
inline constexpr std::string_view kAskPreviewSoFar =
    "Report Cancellation Requested!\n\nPreview Report generated so far?";
inline constexpr std::string_view kNoteTitle = "NOTE...";
inline constexpr std::string_view kNothingToPreview = "Nothing to Preview.";
inline constexpr std::string_view kNothingToPrint = "Nothing to Print.";

class ReportRun final : public QObject {
public:
    enum class Outcome { Running, Previewed, Printed, Nothing, Cancelled, Failed };

    ReportRun(ReportRequest request, Prompter& prompter, QWidget* parent);
    ~ReportRun() override;

    // Starts reading (a library report asks first whether to preview).
    void start();
    Outcome outcome() const { return outcome_; }
    // Called once, when the run has ended (before it deletes itself).
    void onEnded(std::function<void(Outcome)> ended) { ended_ = std::move(ended); }
    // The preview the run opened, while it is open.
    QWidget* preview() const { return preview_; }

private:
    void step();
    bool askCancel();
    void finish(bool complete);
    void end(Outcome outcome);
    void showPages(const std::vector<ReportPage>& pages);

    ReportRequest request_;
    Prompter& prompter_;
    QPointer<QWidget> parent_;
    QPointer<QWidget> preview_;
    std::unique_ptr<ReportReader> reader_;
    std::unique_ptr<Progress> progress_;
    std::optional<PageBuilder> builder_;
    QTimer timer_;
    bool previewing_ = true;
    int percent_ = -1;
    Outcome outcome_ = Outcome::Running;
    std::function<void(Outcome)> ended_;
};

// Every page of a report at once, without a window (for pictures of the
// pages); empty when nothing prints or a read fails.
std::vector<ReportPage> reportPages(ReportRequest request, Prompter& prompter);

// Starts a report; the run lives until it has ended.
ReportRun* startReport(ReportRequest request, Prompter& prompter, QWidget* parent);

}  // namespace plorix::reports
