#include "platform/fake/fake_processes.h"

#include <cerrno>

namespace plorix::platform {

void FakeProcesses::addProgram(std::string program, bool starts) { programs_[std::move(program)] = starts; }

void FakeProcesses::addOpenable(std::string file, std::set<std::string> verbs) {
    openable_[std::move(file)] = std::move(verbs);
}

void FakeProcesses::endProcess(int pid, int exitCode) {
    auto it = children_.find(pid);
    if (it != children_.end()) it->second = exitCode < 0 ? 128 - exitCode : exitCode;
}

StartResult FakeProcesses::spawn(const SpawnRequest& request) {
    spawned_.push_back(request);
    if (request.argv.empty()) return {StartOutcome::NotFound, 0, ENOENT};
    auto it = programs_.find(request.argv.front());
    if (it == programs_.end()) return {StartOutcome::NotFound, 0, ENOENT};
    if (!it->second) return {StartOutcome::CouldNotStart, 0, EACCES};
    const int pid = nextPid_++;
    children_[pid] = std::nullopt;
    lastPid_ = pid;
    return {StartOutcome::Started, pid, 0};
}

ProcessStatus FakeProcesses::poll(int pid) {
    auto it = children_.find(pid);
    if (it == children_.end()) return {ProcessState::Unknown, 0};
    if (!it->second) return {ProcessState::Running, 0};
    const int code = *it->second;
    children_.erase(it);
    return {code == 0 ? ProcessState::Ended : ProcessState::EndedWithError, code};
}

OpenResult FakeProcesses::open(std::string_view file, std::string_view parameters, std::string_view verb,
                               std::string_view folder, WindowMode mode) {
    int result = kOpenFileNotFound;
    auto it = openable_.find(std::string(file));
    if (it != openable_.end())
        result =
            it->second.empty() || it->second.count(std::string(verb)) ? kOpenSucceeded : kOpenNoAssociation;
    opened_.push_back(
        {std::string(file), std::string(parameters), std::string(verb), std::string(folder), mode, result});
    return {result};
}

bool FakeProcesses::killByName(std::string_view name) {
    killed_.emplace_back(name);
    return true;
}

}  // namespace plorix::platform
