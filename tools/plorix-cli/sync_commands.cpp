// sync send, sync receive: tasks, script items and to-do items exchanged
// with another installation through a transfer file.

#include <iostream>

#include "cli.h"
#include "job_runner.h"
#include "sync/sync_receive.h"
#include "sync/sync_send.h"
#include "sync/transfer_file.h"

namespace plorix::cli {

int cmdSync(const Args& args, Prompter&) {
    if (args.size() != 2 || (args[0] != "send" && args[0] != "receive"))
        throw UsageError("usage: sync send FILE.SYN | sync receive FILE.SYN");
    CapturingPrompter quiet;
    // The counts go to standard error, as every job's counts do.
    if (args[0] == "send") {
        refuseProtected(sync::TransferFile(args[1]).path(), io::Replacement::TransferFile);
        sync::SyncSendJob job(args[1], quiet);
        runJob(job, quiet);
        std::cerr << "sent " << job.tasksSent() << " tasks, " << job.itemsSent() << " script items, "
                  << job.todosSent() << " to-do items\n";
        return 0;
    }
    sync::SyncReceiveJob job(args[1], quiet);
    runJob(job, quiet);
    const auto& c = job.counts();
    std::cerr << "received " << c.tasksAdded << " tasks (" << c.tasksReplaced << " local replaced, "
              << c.tasksDropped << " left out for a newer local copy), " << c.itemsAdded << " script items, "
              << c.todosAdded << " to-do items (" << c.todosReplaced << " local replaced, " << c.todosDropped
              << " left out)\n";
    return 0;
}

}  // namespace plorix::cli
