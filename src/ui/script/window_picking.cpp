#include "ui/script/window_picking.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QThread>
#include <QToolButton>
#include <atomic>
#include <thread>

#include "platform/desktop.h"
#include "script/window_pattern.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

constexpr std::string_view kNoText = "<>";

void fill(QLineEdit* target, const QString& text) {
    target->setText(text);
    target->setModified(true);
    target->setFocus();
    emit target->editingFinished();
}

}  // namespace

QToolButton* windowTitleButton(QLineEdit* target, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setText(QStringLiteral("Pick"));
    button->setToolTip(QStringLiteral("Choose one of the windows open now, or click a window"));
    button->setAccessibleName(target->accessibleName() + QStringLiteral(" pick"));
    button->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(button);
    button->setMenu(menu);
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, target, parent] {
        menu->clear();
        for (const platform::WindowInfo& w : platform::desktop().windows->topLevelWindows()) {
            const QString title = qs(w.title);
            QObject::connect(menu->addAction(title), &QAction::triggered, target,
                             [target, title] { fill(target, title); });
        }
        if (menu->isEmpty()) menu->addAction(QStringLiteral("(no windows open)"))->setEnabled(false);
        menu->addSeparator();
        QObject::connect(menu->addAction(QStringLiteral("&Click a Window...")), &QAction::triggered, target,
                         [target, parent] {
                             if (auto title = clickedWindowTitle(parent)) fill(target, *title);
                         });
    });
    return button;
}

std::optional<QString> clickedWindowTitle(QWidget* parent) {
    QLabel hint(QStringLiteral("Click the window whose title you want (any other button cancels)."), nullptr,
                Qt::ToolTip);
    hint.setMargin(8);
    if (parent) hint.move(parent->window()->geometry().topLeft());
    hint.show();
    QApplication::setOverrideCursor(Qt::CrossCursor);
    std::atomic<bool> done = false;
    platform::WindowId picked = platform::kNoWindow;
    platform::Windows& windows = *platform::desktop().windows;
    std::thread waiter([&] {
        picked = windows.pickByClick(kPickClickMilliseconds);
        done = true;
    });
    while (!done) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    waiter.join();
    QApplication::restoreOverrideCursor();
    if (picked == platform::kNoWindow) return std::nullopt;
    for (const platform::WindowInfo& w : windows.topLevelWindows())
        if (w.id == picked) return qs(w.title);
    return std::nullopt;
}

QStringList childTexts(const QString& titlePattern) {
    QStringList texts;
    platform::Windows& windows = *platform::desktop().windows;
    const platform::WindowId window = script::findWindow(windows, titlePattern.toStdString(), "");
    if (window == platform::kNoWindow) return texts;
    for (const platform::ChildControl& c : windows.children(window)) {
        const QString text = qs(c.text).trimmed();
        if (!text.isEmpty() && c.text != kNoText && !texts.contains(text)) texts << text;
    }
    return texts;
}

}  // namespace plorix::ui
