#pragma once
// An application object that ends the program with the final message of a
// data-file failure wherever in the event loop it happens (an exception
// must not cross Qt's event dispatch).

#include <cstdlib>
#include <functional>

#include "data/fatal_error.h"

namespace plorix::app {

template <typename Application>
class GuardedApplication final : public Application {
public:
    using FinalMessage = std::function<void(const char* text)>;
    GuardedApplication(int& argc, char** argv, FinalMessage finalMessage)
        : Application(argc, argv), finalMessage_(std::move(finalMessage)) {}

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return Application::notify(receiver, event);
        } catch (const data::FatalError& e) {
            finalMessage_(e.what());
            std::exit(1);
        }
    }

private:
    FinalMessage finalMessage_;
};

}  // namespace plorix::app
