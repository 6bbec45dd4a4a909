#pragma once
// What the window tests share: a data folder of their own, a prompter
// that records, a clock the test sets, and helpers that act on the modal
// dialog a window opens, as a user would.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "store/store.h"
#include "qt_test_app.h"
#include "runtime/clock.h"
#include "runtime/prompter.h"
#include "settings/settings.h"
#include "support/temp_dir.h"
#include "ui/forms/schedule_request.h"

namespace plorix::ui::test {

class WindowTest : public ::testing::Test {
protected:
    WindowTest() { settings::settings() = settings::Settings{}; }
    ~WindowTest() override {
        plorix::test::runEvents();  // windows closed by the test go before what they use
        data::resetProcessTables();
        data::resetUseCounts();
        settings::settings() = settings::Settings{};
    }

    // Runs `act` on the next modal dialog once it shows (within two seconds).
    static void whenModal(std::function<void(QWidget*)> act) {
        auto* timer = new QTimer;
        auto waited = std::make_shared<int>(0);
        QObject::connect(timer, &QTimer::timeout, [timer, waited, act] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal && ++*waited < 100) return;
            timer->stop();
            timer->deleteLater();
            if (modal) act(modal);
        });
        timer->start(20);
    }

    // Presses `key` on `target` and lets `fill` act in the form of type
    // Form that it opens.
    template <typename Form>
    static void inForm(QWidget& target, Qt::Key key, const std::function<void(Form&)>& fill) {
        bool seen = false;
        whenModal([&](QWidget* modal) {
            auto* form = qobject_cast<Form*>(modal);
            ASSERT_NE(form, nullptr);
            seen = true;
            fill(*form);
        });
        QTest::keyClick(&target, key);
        EXPECT_TRUE(seen);
    }
    // Replaces what `field` shows by typing `text`.
    static void typeInto(QWidget* field, const QString& text) {
        ASSERT_NE(field, nullptr);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
    }

    // A table of the program's, open with a buffer of the test's own.
    static std::unique_ptr<store::Table> table(const store::TableSchema& schema, Prompter& prompter) {
        data::TableUse use(data::processTable(schema), prompter);
        auto own = std::make_unique<store::Table>(schema);
        own->setName(use->name());
        EXPECT_EQ(own->open(), store::kNoError);
        return own;
    }

    plorix::test::TempDir dir;
    RecordingPrompter prompter;
    ManualClock clock{Moment{makeDate(5, 10, 2027), makeTime(9, 0)}};  // a Monday
    ScheduleServices services{
        .prompter = prompter, .clock = clock, .runNow = {}, .scripting = {}, .holidays = {}};
};

}  // namespace plorix::ui::test

namespace plorix::ui::test {

// The control of `root` a screen reader knows by `name`.
template <typename Widget = QWidget>
Widget* named(QWidget* root, const QString& name) {
    for (Widget* w : root->findChildren<Widget*>())
        if (w->accessibleName() == name) return w;
    return nullptr;
}

}  // namespace plorix::ui::test
