#pragma once
// A task that runs a program every minute, stored in a data folder whose
// tables live on `url`, for the server tests of the scheduler.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/data_file.h"
#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables.h"
#include "data/tables/schedule.h"
#include "scheduler/schedule_builder.h"
#include "store/served_files.h"

namespace plorix::test {

inline data::Schedule programEveryMinute(Moment first) {
    data::Schedule entry = scheduler::test::custom(1, "minute(s)", first.date, first.time);
    entry.ID = 1;
    entry.TASKTYPE = "Run Program";
    entry.COMMAND = "sync.sh";
    entry.DESCRIPTION = "Sync";
    return entry;
}

// The tables of the data file (the others live in files of their own).
inline std::vector<const store::TableSchema*> dataFileSchemas() {
    std::vector<const store::TableSchema*> out;
    for (const auto* schema : data::allSchemas())
        if (store::splitStoredName(schema->storedName, *schema).file == data::kDataFileName)
            out.push_back(schema);
    return out;
}

// Serves the data file of `folder` from `url` for the object's life.
class ServedFolder {
public:
    ServedFolder(const std::filesystem::path& folder, const store::ServerAddress& server)
        : file_(store::absoluteFileName((folder / data::kDataFileName).string())) {
        store::serveFile(file_, server);
    }
    ~ServedFolder() {
        data::resetProcessTables();
        data::resetUseCounts();
        store::serveFile(file_, {""});
    }
    ServedFolder(const ServedFolder&) = delete;
    ServedFolder& operator=(const ServedFolder&) = delete;

private:
    std::string file_;
};

// Stores `entry` in the current folder's data file.
inline void storeEntry(const data::Schedule& entry) {
    SilentPrompter prompter;
    data::TableUse use(data::processTable<data::Schedule>(), prompter);
    use->rec<data::Schedule>() = entry;
    ASSERT_EQ(use->add(), store::kNoError) << use->error().describe();
}

}  // namespace plorix::test
