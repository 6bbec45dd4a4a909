#pragma once
// The store's own error states.

#include "store/error.h"

namespace plorix::store {

// An error state with the store's own text for the code.
ErrorState storeError(int code);

}  // namespace plorix::store
