#include "reports/report_run.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWidget>

#include "data/warnings.h"
#include "reports/report_preview.h"
#include "ui/frame_printer.h"
#include "ui/qt_text.h"

namespace plorix::reports {

namespace {

bool library(const ReportRequest& request) { return request.def->preview == PreviewKind::Library; }

QSizeF printableArea() { return ui::programPrinter().pageLayout().paintRect(QPageLayout::Point).size(); }

}  // namespace

ReportRun::ReportRun(ReportRequest request, Prompter& prompter, QWidget* parent)
    : request_(std::move(request)), prompter_(prompter), parent_(parent) {
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &ReportRun::step);
}

ReportRun::~ReportRun() = default;

void ReportRun::start() {
    if (library(request_))
        previewing_ =
            prompter_.message(request_.title, kAskPreview, Icon::Question, kYes | kNo, kYes) == kYes;
    builder_.emplace(*request_.def, ui::qs(request_.title), printableArea());
    reader_ = std::make_unique<ReportReader>(request_, prompter_);
    progress_ = prompter_.progress(kProgressTitle, previewing_ ? kGenerating : kPrinting);
    timer_.start();
}

void ReportRun::step() {
    if (progress_->cancelled()) {
        timer_.stop();
        if (askCancel()) return;
        // Carry on: a fresh progress window, the old one stays cancelled.
        progress_ = prompter_.progress(kProgressTitle, previewing_ ? kGenerating : kPrinting);
        progress_->setPercent(std::max(percent_, 0));
        timer_.start();
        return;
    }
    std::vector<Band> bands;
    const ReportReader::Status status = reader_->read(kRecordsPerStep, bands);
    for (const Band& band : bands) builder_->add(band);
    if (reader_->percent() != percent_) {
        percent_ = reader_->percent();
        progress_->setPercent(percent_);
    }
    if (status == ReportReader::Status::More) return;
    timer_.stop();
    if (status == ReportReader::Status::Failed) {
        progress_.reset();
        data::standardWarning(prompter_, data::Warning::RecordRetrievalError, reader_->tableName());
        end(Outcome::Failed);
        return;
    }
    finish(true);
}

bool ReportRun::askCancel() {
    if (prompter_.message(request_.title, kAskCancel, Icon::Question, kYes | kNo, kNo) != kYes) return false;
    if (previewing_ && !builder_->empty() &&
        prompter_.message(request_.title, kAskPreviewSoFar, Icon::Question, kYes | kNo, kYes) == kYes) {
        finish(false);
        return true;
    }
    progress_.reset();
    end(Outcome::Cancelled);
    return true;
}

void ReportRun::finish(bool complete) {
    if (progress_) {
        if (complete) progress_->finish();
        progress_.reset();
    }
    reader_.reset();
    if (builder_->empty()) {
        prompter_.message(kNoteTitle, previewing_ ? kNothingToPreview : kNothingToPrint, Icon::Information,
                          kOk, kOk);
        end(Outcome::Nothing);
        return;
    }
    const Numbering numbering = library(request_) ? Numbering::PageXOfY : Numbering::PageN;
    const std::vector<ReportPage> pages = builder_->pages(numbering);
    if (!previewing_) {
        printPages(ui::programPrinter(), pages, allPages(pages));
        end(Outcome::Printed);
        return;
    }
    showPages(pages);
    end(Outcome::Previewed);
}

void ReportRun::showPages(const std::vector<ReportPage>& pages) {
    QPrinter& printer = ui::programPrinter();
    if (!library(request_)) {
        auto* window = new ReportPreview(pages, printer.pageLayout(), ui::qs(request_.title), parent_);
        window->show();
        preview_ = window;
        return;
    }
    // The library's preview: Qt's own, with its print button.
    auto* dialog = new QPrintPreviewDialog(&printer, parent_, Qt::Window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(ui::qs(request_.title));
    connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
            [pages](QPrinter* device) { printPages(*device, pages, allPages(pages)); });
    dialog->show();
    preview_ = dialog;
}

void ReportRun::end(Outcome outcome) {
    outcome_ = outcome;
    reader_.reset();
    if (ended_) ended_(outcome);
    deleteLater();
}

std::vector<ReportPage> reportPages(ReportRequest request, Prompter& prompter) {
    PageBuilder builder(*request.def, ui::qs(request.title), printableArea());
    const Numbering numbering = library(request) ? Numbering::PageXOfY : Numbering::PageN;
    ReportReader reader(std::move(request), prompter);
    std::vector<Band> bands;
    if (reader.readAll(bands) != ReportReader::Status::End) return {};
    for (const Band& band : bands) builder.add(band);
    return builder.pages(numbering);
}

ReportRun* startReport(ReportRequest request, Prompter& prompter, QWidget* parent) {
    auto* run = new ReportRun(std::move(request), prompter, parent);
    run->start();
    return run;
}

}  // namespace plorix::reports
