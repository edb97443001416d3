// The exceptions of the document database. Where the program's behaviour
// names a failure by a language-file key ("errBase", "noEdit", ...), the
// exception carries that key and its localized text as the message.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace kvelo {

class EBaseError : public std::runtime_error {
public:
    // The message is kvLoadStr(key).
    explicit EBaseError(std::string_view key);
    const std::string& Key() const { return key_; }

private:
    std::string key_;
};

// A body whose zlib stream is damaged or larger than the body size limit.
// The message is "error".
class EDecompressionError : public std::runtime_error {
public:
    EDecompressionError() : std::runtime_error("error") {}
};

} // namespace kvelo
