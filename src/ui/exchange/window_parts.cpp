#include "ui/exchange/window_parts.h"

#include <QPushButton>

namespace plorix::ui {

namespace {

QString accessible(QString text) { return text.remove('&').remove(QStringLiteral("...")); }

}  // namespace

QVBoxLayout* sideButtons(QWidget* owner, std::initializer_list<SideButton> buttons) {
    auto* side = new QVBoxLayout;
    for (const SideButton& b : buttons) {
        auto* button = new QPushButton(QObject::tr(b.text), owner);
        button->setToolTip(QObject::tr(b.tip));
        button->setAccessibleName(accessible(button->text()));
        QObject::connect(button, &QPushButton::clicked, owner, b.run);
        side->addWidget(button);
    }
    side->addStretch();
    return side;
}

QCheckBox* firstLineCheck(QWidget* owner, QBoxLayout* layout, const QString& text) {
    auto* check = new QCheckBox(text, owner);
    check->setChecked(true);
    check->setAccessibleName(accessible(text));
    layout->addWidget(check);
    return check;
}

void runAndClose(QWidget* owner, QBoxLayout* layout, const QString& runText, std::function<void()> run) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* go = new QPushButton(runText, owner);
    go->setAccessibleName(accessible(runText));
    go->setDefault(true);
    auto* close = new QPushButton(QObject::tr("Close"), owner);
    close->setAccessibleName(QObject::tr("Close"));
    QObject::connect(go, &QPushButton::clicked, owner, std::move(run));
    QObject::connect(close, &QPushButton::clicked, owner, &QWidget::close);
    row->addWidget(go);
    row->addWidget(close);
    layout->addLayout(row);
}

}  // namespace plorix::ui
