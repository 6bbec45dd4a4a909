#pragma once
// BROWSESCH:KEYCATEGORY ("Browse Schedule by Category"): the tasks of one
// category by description, opened from the category browse, with their
// entry form behind "&Add", "&Edit" and "&Delete".

#include "scheduler/frame_state.h"
#include "ui/forms/schedule_request.h"
#include "ui/kit/browse_window.h"

namespace plorix::ui {

class BrowseScheduleCategory final : public BrowseWindow {
    Q_OBJECT
public:
    // `browses` is the frame's list of windows to refresh (may be null).
    BrowseScheduleCategory(const ScheduleServices& services, scheduler::BrowseRegistry* browses,
                           const QString& category, QWidget* parent = nullptr);
    ~BrowseScheduleCategory() override;
    const QString& category() const { return category_; }

protected:
    void preparePage(int tab) override;

private:
    bool request(ScheduleRequest request, const void* record);
    const ScheduleServices& services_;
    scheduler::BrowseRegistry* browses_;
    int registration_ = 0;
    QString category_;
};

BrowseScheduleCategory* openBrowseScheduleCategory(const ScheduleServices& services,
                                                   scheduler::BrowseRegistry* browses,
                                                   const QString& category, QWidget* parent);

}  // namespace plorix::ui
