#pragma once
// The help window: the program's HTML help pages in a browser with a
// search field over all of them. The pages travel inside the program.

#include <QListWidget>
#include <QLineEdit>
#include <QString>
#include <QTextBrowser>
#include <QWidget>
#include <vector>

namespace plorix::app {

struct HelpPage {
    QString file;   // "scheduling.html"
    QString title;  // its <title>
    QString text;   // its words, for the search
};

// Every help page, the contents page first.
const std::vector<HelpPage>& helpPages();

// The pages holding every word of `query` (any letter case), in page order.
std::vector<const HelpPage*> searchHelp(const QString& query);

inline constexpr const char* kHelpContents = "index.html";
inline constexpr const char* kHowToUseHelp = "using_help.html";

class HelpWindow final : public QWidget {
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // "&Contents", "&Search for Help On...", "&How to Use Help".
    void showContents();
    void showSearch();
    void showHowTo();
    void showPage(const QString& file);

    QString currentPage() const;
    QLineEdit& searchField() { return *search_; }
    QListWidget& results() { return *results_; }
    QTextBrowser& browser() { return *browser_; }

private:
    void runSearch();
    void present();

    QLineEdit* search_;
    QListWidget* results_;
    QTextBrowser* browser_;
};

}  // namespace plorix::app
