#pragma once
// F1 anywhere in the program: the help page about the active window.

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace plorix::app {

// The help page ("settings.html" ...) about `window`, with the anchor of
// the part about where the window stands ("settings.html#general" for
// Setup's General tab); the contents page for a window no page is about.
QString helpPageFor(const QWidget* window);

// Watches the program's key presses for F1 and shows the page.
class HelpKey final : public QObject {
public:
    explicit HelpKey(std::function<void(const QString& page)> show, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QString&)> show_;
};

}  // namespace plorix::app
