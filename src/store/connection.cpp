#include "store/connection.h"

namespace plorix::store {

namespace {

std::string savepoint(int level) { return "level_" + std::to_string(level); }

}  // namespace

int Connection::beginLevel(int level, ErrorState& error) {
    return exec("SAVEPOINT " + savepoint(level), error);
}

int Connection::releaseLevel(int level, ErrorState& error) {
    return exec("RELEASE " + savepoint(level), error);
}

int Connection::undoLevel(int level, ErrorState& error) {
    const std::string name = savepoint(level);
    return exec("ROLLBACK TO " + name + "; RELEASE " + name, error);
}

}  // namespace plorix::store
