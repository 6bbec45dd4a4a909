#include "sync/sync_receive.h"

#include <filesystem>
#include <vector>

#include "data/warnings.h"
#include "io/exchange_files.h"

namespace plorix::sync {

namespace {

using data::Schedule;
using data::Scripting;
using data::SyncSchedule;
using data::SyncTodo;
using data::Todo;

constexpr std::string_view kNothingReceived = " Nothing was received.";

int fieldOf(const store::TableSchema& schema, std::string_view name) { return schema.fieldIndex(name); }

std::string absolute(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path whole = std::filesystem::absolute(path, ec);
    return ec ? path : whole.lexically_normal().string();
}

}  // namespace

SyncReceiveJob::SyncReceiveJob(std::string file, Prompter& prompter)
    : SteppedJob(prompter),
      folder_(absolute(".")),
      transfer_(absolute(file)),
      isDataFile_(io::isDataFile(transfer_.path())),
      received_(Schedule::schema().makeRecord()) {}

SyncReceiveJob::~SyncReceiveJob() { abandon(); }

bool SyncReceiveJob::prepare() {
    if (isDataFile_) {
        fail(kSyncTitle, transfer_.file() + " is the data file, not a transfer file.");
        return false;
    }
    if (const std::string why = transfer_.openForReading(); !why.empty()) {
        fail(kSyncTitle, why + std::string(kNothingReceived));
        return false;
    }
    local_ = std::make_unique<LocalTables>(prompter(), folder_);
    const auto count = transfer_.schedule().records();
    total_ = count > 0 ? static_cast<std::uint64_t>(count) : 0;
    // One transaction over the local tables, from the first task merged to
    // the last to-do item.
    if (local_->schedule().stream() != store::kNoError) {
        failWith("The data file cannot be written");
        return false;
    }
    merging_ = true;
    openProgress("Processing Records", "");
    store::Table& in = transfer_.schedule();
    in.sendOption("QUICKSCAN=on");
    scan_ = std::make_unique<io::CompleteScan>(in, data::keys::SyncSchedule::KEYTASKNAME);
    scan_->start();
    return true;
}

bool SyncReceiveJob::work(int count) {
    store::Table& in = transfer_.schedule();
    bool more = true;
    for (int i = 0; more && i < count; ++i) {
        const int code = scan_->next();
        if (code == store::kRecordNotAvailable) {
            more = false;
            continue;
        }
        if (code != store::kNoError) {
            // The file was whole when the run began; it is not merged half.
            data::standardWarning(prompter(), data::Warning::RecordRetrievalError, in.name());
            failWith("Reading " + transfer_.file() + " failed");
            return false;
        }
        if (mergeTask() != store::kNoError) {
            failWith("Receiving stopped");
            return false;
        }
        ++done_;
    }
    meter().update(done_, total_);
    return more;
}

int SyncReceiveJob::mergeTask() {
    store::Table& in = transfer_.schedule();
    store::Table& schedule = local_->schedule();
    const auto& schema = Schedule::schema();
    store::copyByName(in.schema(), in.buffer(), schema, received_.get());
    const Schedule& received = *static_cast<const Schedule*>(received_.get());

    struct Older {
        std::int64_t position;
        std::int32_t id;
    };
    std::vector<Older> older;
    bool matched = false;
    const int code = visitExactMatches(schedule, data::keys::Schedule::KEYTASKNAME,
                                       {{fieldOf(schema, "SCH:DESCRIPTION"), received.DESCRIPTION},
                                        {fieldOf(schema, "SCH:CATEGORY"), received.CATEGORY}},
                                       [&] {
                                           const Schedule& local = schedule.rec<Schedule>();
                                           if (addedTasks_.count(local.ID)) return;
                                           matched = true;
                                           if (changedLater(local.LASTCHANGEDATE, local.LASTCHANGETIME,
                                                            received.LASTCHANGEDATE, received.LASTCHANGETIME))
                                               return;  // the local copy is newer and stays
                                           older.push_back({schedule.position(), local.ID});
                                       });
    if (code != store::kNoError) return code;
    for (const Older& task : older) {
        if (const int failed = deleteLocalTask(task.position, task.id)) return failed;
        ++counts_.tasksReplaced;
    }
    if (matched && older.empty()) {
        ++counts_.tasksDropped;
        return store::kNoError;
    }
    return addReceivedTask(in.rec<SyncSchedule>().ID);
}

int SyncReceiveJob::deleteLocalTask(std::int64_t position, std::int32_t id) {
    store::Table& schedule = local_->schedule();
    if (const int code = schedule.reget(position)) return code;
    if (const int code = schedule.erase()) return code;
    store::Table& items = local_->scripting();
    return forEachScriptItem(items, id, [&] { return items.erase(); });
}

int SyncReceiveJob::nextFreeTaskId(std::int32_t& id) {
    store::Table& schedule = local_->schedule();
    const int key = data::keys::Schedule::KEYID;
    schedule.setEnd(key);
    const int code = schedule.previous();
    if (code == store::kRecordNotAvailable)
        id = 1;
    else if (code == store::kNoError)
        id = std::max(schedule.rec<Schedule>().ID + 1, 1);
    else
        return code;
    for (;;) {
        store::clearRecord(schedule.schema(), schedule.buffer());
        schedule.rec<Schedule>().ID = id;
        const int found = schedule.get(key);
        if (found == store::kRecordNotFound) return store::kNoError;
        if (found != store::kNoError) return found;
        ++id;
    }
}

int SyncReceiveJob::addReceivedTask(std::int32_t receivedId) {
    store::Table& schedule = local_->schedule();
    std::int32_t id = 0;
    if (const int code = nextFreeTaskId(id)) return code;
    store::copyRecord(Schedule::schema(), received_.get(), schedule.buffer());
    schedule.rec<Schedule>().ID = id;
    if (const int code = schedule.add()) return code;
    addedTasks_.insert(id);
    ++counts_.tasksAdded;

    // Items left under this identifier by a task deleted without its items
    // would otherwise join the received script.
    store::Table& items = local_->scripting();
    if (const int code = forEachScriptItem(items, id, [&] { return items.erase(); })) return code;
    store::Table& receivedItems = transfer_.scripting();
    return forEachScriptItem(receivedItems, receivedId, [&] {
        store::copyByName(receivedItems.schema(), receivedItems.buffer(), items.schema(), items.buffer());
        items.rec<Scripting>().ID = id;
        const int code = items.add();
        if (code == store::kNoError) ++counts_.itemsAdded;
        return code;
    });
}

int SyncReceiveJob::mergeTodos() {
    store::Table& in = transfer_.todo();
    in.sendOption("QUICKSCAN=on");
    in.setStart(-1);
    int code;
    while ((code = in.next()) == store::kNoError) {
        if ((code = mergeTodo()) != store::kNoError) break;
    }
    in.sendOption("QUICKSCAN=off");
    return code == store::kRecordNotAvailable ? store::kNoError : code;
}

int SyncReceiveJob::mergeTodo() {
    store::Table& in = transfer_.todo();
    store::Table& todo = local_->todo();
    const SyncTodo& received = in.rec<SyncTodo>();
    std::vector<std::int64_t> older;
    bool matched = false;
    const int code = visitExactMatches(todo, data::keys::Todo::KEYTODO,
                                       {{fieldOf(todo.schema(), "TDO:TODO"), received.TODO}}, [&] {
                                           if (addedTodos_.count(todo.position())) return;
                                           matched = true;
                                           const Todo& local = todo.rec<Todo>();
                                           // One of the same moment is kept.
                                           if (changedLater(received.LASTCHANGEDATE, received.LASTCHANGETIME,
                                                            local.LASTCHANGEDATE, local.LASTCHANGETIME))
                                               older.push_back(todo.position());
                                       });
    if (code != store::kNoError) return code;
    for (const std::int64_t position : older) {
        if (const int failed = todo.reget(position)) return failed;
        if (const int failed = todo.erase()) return failed;
        ++counts_.todosReplaced;
    }
    if (matched && older.empty()) {
        ++counts_.todosDropped;
        return store::kNoError;
    }
    store::copyByName(in.schema(), in.buffer(), todo.schema(), todo.buffer());
    if (const int failed = todo.add()) return failed;
    addedTodos_.insert(todo.position());
    ++counts_.todosAdded;
    return store::kNoError;
}

void SyncReceiveJob::failWith(std::string_view what) {
    fail(kSyncTitle,
         std::string(what) + ": " + store::lastError().describe() + "." + std::string(kNothingReceived));
}

void SyncReceiveJob::finish(State state) {
    transfer_.schedule().sendOption("QUICKSCAN=off");
    meter().finish();
    if (state == State::Completed && mergeTodos() != store::kNoError)
        failWith("Receiving to-do items stopped");
    if (merging_) {
        merging_ = false;
        // All or nothing: a cancelled receive leaves the tables as they were.
        if (this->state() != State::Completed)
            local_->schedule().rollback();
        else if (local_->schedule().flush() != store::kNoError)
            failWith("The data file cannot be written");
    }
    transfer_.close();
    local_.reset();
}

bool syncReceive(const std::string& file, Prompter& prompter) {
    SyncReceiveJob job(file, prompter);
    return job.run();
}

}  // namespace plorix::sync
