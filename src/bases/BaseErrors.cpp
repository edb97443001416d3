#include "bases/BaseErrors.h"

#include "settings/Settings.h"

namespace kvelo {

EBaseError::EBaseError(std::string_view key) : std::runtime_error(kvLoadStr(key)), key_(key) {}

} // namespace kvelo
