#include "store/sql_error.h"

namespace plorix::store {

ErrorState storeError(int code) {
    ErrorState error;
    error.code = code;
    error.text = errorText(code);
    return error;
}

}  // namespace plorix::store
