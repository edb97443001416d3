// The failure of a block that cannot be laid out.
#pragma once

#include <stdexcept>
#include <string>

namespace kvelo::layout {

class EProcessError : public std::runtime_error {
public:
    explicit EProcessError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace kvelo::layout
