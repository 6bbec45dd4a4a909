#pragma once
// Drives a stepped job from a timer, 25 records per tick, so that the
// frame keeps ticking while an import, an export or a send runs.

#include <QObject>
#include <functional>
#include <memory>

#include "io/stepped_job.h"

namespace plorix::ui {

// Starts `job` and steps it until it ends, then calls `done` with the
// final state (the job is deleted afterwards). Returns false, having
// called `done`, when the job could not start.
bool runJob(std::unique_ptr<io::SteppedJob> job, QObject* context,
            std::function<void(io::SteppedJob::State, io::SteppedJob&)> done);

}  // namespace plorix::ui
