#pragma once
// Shared pieces of plorix-cli's commands.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "store/store.h"
#include "runtime/prompter.h"

namespace plorix::cli {

// A refused command: one line on stderr, exit status 2, nothing written.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Work that failed (a file or store error, a damaged file): one line on
// stderr, exit status 1.
struct WorkFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

using Args = std::vector<std::string>;

// Removes `flag` from the arguments wherever it stands; whether it was there.
bool takeFlag(Args& args, std::string_view flag);

// A whole number given by the user for `what` (a field or an option),
// within least..most; UsageError naming both otherwise.
std::int64_t wholeNumber(std::string_view what, std::string_view text, std::int64_t least, std::int64_t most);

// Prints messages on stderr and takes the default button.
class CliPrompter final : public Prompter {
public:
    int message(std::string_view title, std::string_view text, Icon icon, ButtonSet buttons,
                int defaultButton) override;
    std::unique_ptr<Progress> progress(std::string_view title, std::string_view heading) override;
};

// What a command does with the data folder: commands that write create it
// and its data file when missing; commands that only read create nothing.
enum class DataUse { None, Reads, Writes };
DataUse reads(const Args&);
DataUse writes(const Args&);
DataUse noData(const Args&);
// settings writes only a known key with a value it takes.
DataUse settingsUse(const Args&);

struct Command {
    std::string_view name;
    std::string_view usage;
    int (*run)(const Args& args, Prompter& prompter);
    DataUse (*use)(const Args& args);
    int fileArgument = -1;  // the argument naming a file, taken from the caller's directory
    bool onServer = true;   // follows --database (migrate names its servers itself)
};

// Every command, in the order the usage text lists them.
const std::vector<Command>& commands();

// Commands of each family (one file each).
int cmdTables(const Args&, Prompter&);
int cmdList(const Args&, Prompter&);
int cmdAdd(const Args&, Prompter&);
int cmdSet(const Args&, Prompter&);
int cmdDelete(const Args&, Prompter&);
int cmdCheck(const Args&, Prompter&);
int cmdSettings(const Args&, Prompter&);
int cmdLog(const Args&, Prompter&);
int cmdFields(const Args&, Prompter&);
int cmdKeycodes(const Args&, Prompter&);
int cmdRunScript(const Args&, Prompter&);
int cmdForecast(const Args&, Prompter&);
int cmdSimulate(const Args&, Prompter&);
int cmdExport(const Args&, Prompter&);
int cmdImport(const Args&, Prompter&);
int cmdSync(const Args&, Prompter&);
int cmdExportIcs(const Args&, Prompter&);
int cmdImportIcs(const Args&, Prompter&);
int cmdMigrate(const Args&, Prompter&);

// The twelve tables of the data file, in declaration order.
std::vector<const store::TableSchema*> dataFileSchemas();
// A table of the data file by label, any letter case; UsageError otherwise.
const store::TableSchema& tableArgument(std::string_view label);
// A field of the table by full name (any case); UsageError otherwise.
int fieldArgument(const store::TableSchema& schema, std::string_view name);

// One FIELD=VALUE assignment, checked against the schema.
struct Assignment {
    int field;
    std::string value;
};
std::vector<Assignment> parseAssignments(const store::TableSchema& schema, const Args& args,
                                         std::size_t first);
// Stores the assignments into the table's buffer; UsageError for a value that
// does not fit its field or is not one its declaration allows (an option
// field's value is stored in its declared spelling).
void applyAssignments(store::Table& table, const std::vector<Assignment>& assignments);

// Positions the table's buffer on the record named by `id`: "#N" is a record
// position, otherwise the primary key's components separated by commas.
void locateRecord(store::Table& table, std::string_view id);

// Throws UsageError with the store's error ("duplicate key SCH:KEYID" ...).
[[noreturn]] void storeFailure(const store::Table& table, std::string_view what);

}  // namespace plorix::cli
