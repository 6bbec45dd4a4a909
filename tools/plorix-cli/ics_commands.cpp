// export-ics, import-ics: the schedule to and from iCalendar files.

#include <iostream>

#include "cli.h"
#include "ical/ics_files.h"
#include "runtime/clock.h"

namespace plorix::cli {
namespace {

const std::string& fileArgument(const Args& args, std::string_view usage) {
    if (args.size() != 1) throw UsageError("usage: " + std::string(usage));
    return args[0];
}

int finish(const ical::IcsResult& result) {
    if (result.status == ical::IcsStatus::Refused) throw UsageError(result.error);
    if (result.status == ical::IcsStatus::Failed) {
        std::cerr << "plorix-cli: " << result.error << '\n';
        return 1;
    }
    return 0;
}

}  // namespace

int cmdExportIcs(const Args& args, Prompter& prompter) {
    const std::string& file = fileArgument(args, "export-ics FILE.ics");
    const ical::IcsResult result = ical::exportIcs(file, prompter, processClock().current());
    // The entries whose meaning no rule carries, so the user knows which
    // ones the calendar shows only for the coming year.
    for (const std::string& note : result.notes) std::cerr << "plorix-cli: " << note << '\n';
    if (const int status = finish(result); status != 0) return status;
    std::cerr << result.written << " events exported\n";
    return 0;
}

int cmdImportIcs(const Args& args, Prompter& prompter) {
    const std::string& file = fileArgument(args, "import-ics FILE.ics");
    const ical::IcsResult result = ical::importIcs(file, prompter, processClock().current());
    if (const int status = finish(result); status != 0) return status;
    for (const std::string& note : result.notes) std::cerr << note << '\n';
    std::cerr << result.written << " tasks and to-do items imported\n";
    return 0;
}

}  // namespace plorix::cli
