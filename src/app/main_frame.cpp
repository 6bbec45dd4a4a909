#include "app/main_frame.h"

#include <QCloseEvent>
#include <QLabel>
#include <QStatusBar>

#include "data/process_tables.h"
#include "data/tables.h"
#include "log/event_log.h"
#include "settings/settings.h"

namespace plorix::app {

namespace {
QString productTitle() {
    return QString::fromUtf8(settings::kProductTitle.data(), settings::kProductTitle.size()) + ' ' +
           QString::fromUtf8(settings::kVersion.data(), settings::kVersion.size());
}
}  // namespace

MainFrame::MainFrame(Prompter& prompter, QWidget* parent) : QMainWindow(parent), prompter_(prompter) {
    // The tables the frame's tick works on stay open while the program runs.
    for (const data::TableSchema* schema :
         {&data::Clipboard::schema(), &data::Configuration::schema(), &data::Messages::schema(),
          &data::Schedule::schema(), &data::Scripting::schema(), &data::WindowLookup::schema()}) {
        tables_.emplace_back(data::processTable(*schema), prompter_);
    }
    setWindowTitle(productTitle());
    settings::startUpSettings(prompter_);
    setCentralWidget(new QLabel(productTitle(), this));
    statusBar()->showMessage(QString());
    resize(640, 400);
    log::logEvent(productTitle().toStdString(), "Started");
}

MainFrame::~MainFrame() = default;

void MainFrame::closeEvent(QCloseEvent* event) {
    log::logEvent("", "Exit Plorix");
    tables_.clear();
    event->accept();
}

}  // namespace plorix::app
