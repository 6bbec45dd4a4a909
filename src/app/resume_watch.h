#pragma once
// Hears of the machine waking from suspend through logind on the system
// bus; without a system bus it hears nothing and says nothing.

#include <QObject>
#include <functional>

namespace plorix::app {

class ResumeWatch final : public QObject {
    Q_OBJECT
public:
    explicit ResumeWatch(std::function<void()> resumed, QObject* parent = nullptr);

private slots:
    void prepareForSleep(bool sleeping);

private:
    std::function<void()> resumed_;
};

}  // namespace plorix::app
