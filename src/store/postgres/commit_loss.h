#pragma once
// For tests of the lookup of a commit whose answer never came: the next
// commit that wrote loses its connection before the server has it
// (Unsent) or after the server committed it but before the answer arrived
// (Unanswered).

namespace plorix::store {

enum class CommitLoss { None, Unsent, Unanswered };
void loseNextCommit(CommitLoss loss);

}  // namespace plorix::store
