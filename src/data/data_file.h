#pragma once
// The data file of the twelve tables and the password its tables (and the
// transfer files) are keyed with.

#include <string_view>

namespace plorix::data {

// The owner password of the data file and of transfer files.
inline constexpr std::string_view kOwnerPassword = "qmwt6@zpb";
// The data file of the twelve tables, as it is spelled when created.
inline constexpr std::string_view kDataFileName = "Px97.TPS";

}  // namespace plorix::data
