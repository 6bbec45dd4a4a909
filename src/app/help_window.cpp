#include "app/help_window.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextDocument>
#include <QVBoxLayout>

#include "scheduler/frame_state.h"
#include "ui/window_geometry.h"

namespace plorix::app {

namespace {

const QString kHelpRoot = QStringLiteral(":/help/");

HelpPage loadPage(const QString& file) {
    QFile source(kHelpRoot + file);
    source.open(QIODevice::ReadOnly);
    const QString html = QString::fromUtf8(source.readAll());
    QTextDocument document;
    document.setHtml(html);
    QString title = document.metaInformation(QTextDocument::DocumentTitle);
    if (title.isEmpty()) title = file;
    return {file, title, document.toPlainText()};
}

}  // namespace

const std::vector<HelpPage>& helpPages() {
    static const std::vector<HelpPage> pages = [] {
        std::vector<HelpPage> all;
        all.push_back(loadPage(QString::fromLatin1(kHelpContents)));
        const QStringList files =
            QDir(kHelpRoot).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
        for (const QString& file : files) {
            if (file != QLatin1String(kHelpContents)) all.push_back(loadPage(file));
        }
        return all;
    }();
    return pages;
}

std::vector<const HelpPage*> searchHelp(const QString& query) {
    const QStringList words = query.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    std::vector<const HelpPage*> found;
    if (words.isEmpty()) return found;
    for (const HelpPage& page : helpPages()) {
        bool all = true;
        for (const QString& word : words) {
            if (!page.text.contains(word, Qt::CaseInsensitive) &&
                !page.title.contains(word, Qt::CaseInsensitive)) {
                all = false;
                break;
            }
        }
        if (all) found.push_back(&page);
    }
    return found;
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QString::fromStdString(scheduler::productTitle()) + QStringLiteral(" Help"));
    auto* side = new QWidget;
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QStringLiteral("Search for:"));
    search_ = new QLineEdit;
    search_->setClearButtonEnabled(true);
    label->setBuddy(search_);
    results_ = new QListWidget;
    sideLayout->addWidget(label);
    sideLayout->addWidget(search_);
    sideLayout->addWidget(results_);

    browser_ = new QTextBrowser;
    browser_->setSearchPaths({kHelpRoot});
    browser_->setOpenExternalLinks(true);

    auto* splitter = new QSplitter;
    splitter->addWidget(side);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);
    resize(820, 560);

    connect(search_, &QLineEdit::textChanged, this, [this] { runSearch(); });
    connect(results_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0) return;
        showPage(results_->item(row)->data(Qt::UserRole).toString());
        // Shows the first place the first word occurs.
        const QStringList words = search_->text().split(' ', Qt::SkipEmptyParts);
        if (!words.isEmpty()) browser_->find(words.front());
    });
    runSearch();
    ui::rememberPosition(*this, "Help");
}

void HelpWindow::runSearch() {
    results_->clear();
    const QString query = search_->text();
    // An empty search lists every page, so the side doubles as a table of contents.
    std::vector<const HelpPage*> pages;
    if (query.trimmed().isEmpty()) {
        for (const HelpPage& page : helpPages()) pages.push_back(&page);
    } else {
        pages = searchHelp(query);
    }
    for (const HelpPage* page : pages) {
        auto* item = new QListWidgetItem(page->title, results_);
        item->setData(Qt::UserRole, page->file);
    }
}

void HelpWindow::showPage(const QString& file) {
    browser_->setSource(QUrl(QStringLiteral("qrc") + kHelpRoot + file));
    present();
}

QString HelpWindow::currentPage() const { return browser_->source().fileName(); }

void HelpWindow::showContents() { showPage(QString::fromLatin1(kHelpContents)); }

void HelpWindow::showHowTo() { showPage(QString::fromLatin1(kHowToUseHelp)); }

void HelpWindow::showSearch() {
    if (browser_->source().isEmpty()) showContents();
    present();
    search_->setFocus();
    search_->selectAll();
}

void HelpWindow::present() {
    show();
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
}

}  // namespace plorix::app
