// Helpers of the packer tests: a temporary folder, packing a manifest into
// it, and little-endian reads of the produced bytes.
#pragma once

#include "pack/BasePacker.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace kvelo::testing {

class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/kvelo-tools-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Little-endian field reads from a file image; the tests check offsets, so
// reading past the end fails the test instead of reading garbage.
struct Image {
    std::vector<uint8_t> bytes;

    uint64_t le(size_t at, unsigned width) const {
        if (at + width > bytes.size()) throw std::out_of_range("read past the end of the file");
        uint64_t v = 0;
        for (unsigned i = 0; i < width; ++i)
            v |= uint64_t(bytes[at + i]) << (8 * i);
        return v;
    }
    uint8_t u8(size_t at) const { return uint8_t(le(at, 1)); }
    uint16_t u16(size_t at) const { return uint16_t(le(at, 2)); }
    int32_t i32(size_t at) const { return int32_t(uint32_t(le(at, 4))); }
    double date(size_t at) const {
        const uint64_t bits = le(at, 8);
        double d;
        std::memcpy(&d, &bits, 8);
        return d;
    }
    std::string chars(size_t at, size_t n) const {
        le(at, 0);
        if (at + n > bytes.size()) throw std::out_of_range("read past the end of the file");
        return std::string(bytes.begin() + long(at), bytes.begin() + long(at + n));
    }
    std::string counted(size_t at) const { return chars(at + 2, u16(at)); }
};

} // namespace kvelo::testing
