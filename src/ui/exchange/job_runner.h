#pragma once
// Drives a stepped job so that the frame keeps ticking while it runs:
// from a timer, 25 records per tick (an import, an export, a send), or on
// a worker thread of its own (a receive, which holds one write transaction
// from its first record to its last and so must not run between the
// frame's ticks on the window thread's connection).

#include <QObject>
#include <functional>
#include <memory>

#include "io/stepped_job.h"
#include "runtime/prompter.h"

namespace plorix::ui {

using JobDone = std::function<void(io::SteppedJob::State, io::SteppedJob&)>;

// Starts `job` and steps it until it ends, then calls `done` with the
// final state (the job is deleted afterwards). Returns false, having
// called `done`, when the job could not start.
bool runJob(std::unique_ptr<io::SteppedJob> job, QObject* context, JobDone done);

// Builds a job with `make` here, giving it a prompter whose messages and
// progress show on this thread through `prompter`, and runs it whole on a
// worker thread; `done` is called here once the worker has ended (the job
// is deleted afterwards). When `context` goes first the job ends as
// cancelled, its questions taking their default answers.
void runJobOnWorker(Prompter& prompter, QObject* context,
                    const std::function<std::unique_ptr<io::SteppedJob>(Prompter&)>& make, JobDone done);

}  // namespace plorix::ui
