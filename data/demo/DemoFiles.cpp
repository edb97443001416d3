// kvelo-demo-files: makes the files of the demo collection that are not
// plain text: pictures from small text pixel art, and code page 1251 copies
// of UTF-8 sources (INI files and RTF documents of the program folder).
//
//   kvelo-demo-files png ART.txt OUT.png
//   kvelo-demo-files bmp ART.txt OUT.bmp
//   kvelo-demo-files cp1251 IN OUT
//
// Pixel art: lines "C RRGGBB" give each character its colour, a line "--"
// ends the palette, then one line of characters per pixel row, top first.
#include "platform/Cp1251.h"
#include "platform/Streams.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

struct Picture {
    int width = 0, height = 0;
    std::vector<Rgb> pixels; // row by row, top first
};

std::string readText(const std::string& path) {
    const auto bytes = kvelo::ReadWholeFile(path);
    return {bytes.begin(), bytes.end()};
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    kvelo::WriteFileAtomic(path, bytes.data(), bytes.size());
}

Rgb parseColour(const std::string& hex) {
    if (hex.size() != 6) throw std::runtime_error("a colour is RRGGBB: " + hex);
    const unsigned long v = std::stoul(hex, nullptr, 16);
    return {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

Picture readPixelArt(const std::string& path) {
    std::istringstream lines(readText(path));
    std::map<char, Rgb> palette;
    std::string line;
    while (std::getline(lines, line) && line != "--") {
        if (line.empty() || line[0] == '#') continue; // a comment
        if (line.size() < 8) throw std::runtime_error(path + ": a palette line is \"C RRGGBB\"");
        palette[line[0]] = parseColour(line.substr(2, 6));
    }
    Picture picture;
    while (std::getline(lines, line)) {
        if (line.empty()) continue;
        if (picture.width == 0) picture.width = int(line.size());
        if (int(line.size()) != picture.width) throw std::runtime_error(path + ": ragged row");
        for (char c : line) {
            auto it = palette.find(c);
            if (it == palette.end()) throw std::runtime_error(path + ": no colour for " + c);
            picture.pixels.push_back(it->second);
        }
        ++picture.height;
    }
    if (picture.height == 0) throw std::runtime_error(path + ": no pixels");
    return picture;
}

void putBe32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}

void putLe(std::vector<uint8_t>& out, uint32_t v, int width) {
    for (int i = 0; i < width; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

void pngChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    putBe32(out, uint32_t(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    putBe32(out, uint32_t(crc32(0, body.data(), uInt(body.size()))));
}

std::vector<uint8_t> encodePng(const Picture& p) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> ihdr;
    putBe32(ihdr, uint32_t(p.width));
    putBe32(ihdr, uint32_t(p.height));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, no interlace
    pngChunk(out, "IHDR", ihdr);
    std::vector<uint8_t> raw;
    for (int y = 0; y < p.height; ++y) {
        raw.push_back(0); // filter: none
        for (int x = 0; x < p.width; ++x) {
            const Rgb& c = p.pixels[size_t(y * p.width + x)];
            raw.insert(raw.end(), {c.r, c.g, c.b});
        }
    }
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<uint8_t> idat(size);
    compress2(idat.data(), &size, raw.data(), uLong(raw.size()), 9);
    idat.resize(size);
    pngChunk(out, "IDAT", idat);
    pngChunk(out, "IEND", {});
    return out;
}

// A 24-bit bottom-up Windows bitmap.
std::vector<uint8_t> encodeBmp(const Picture& p) {
    const uint32_t rowBytes = (uint32_t(p.width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * uint32_t(p.height);
    std::vector<uint8_t> out = {'B', 'M'};
    putLe(out, 54 + imageBytes, 4);
    putLe(out, 0, 4);
    putLe(out, 54, 4);
    putLe(out, 40, 4);
    putLe(out, uint32_t(p.width), 4);
    putLe(out, uint32_t(p.height), 4);
    putLe(out, 1, 2);
    putLe(out, 24, 2);
    putLe(out, 0, 4);
    putLe(out, imageBytes, 4);
    putLe(out, 2835, 4); // 72 dpi
    putLe(out, 2835, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    for (int y = p.height - 1; y >= 0; --y) {
        for (int x = 0; x < p.width; ++x) {
            const Rgb& c = p.pixels[size_t(y * p.width + x)];
            out.insert(out.end(), {c.b, c.g, c.r});
        }
        out.insert(out.end(), rowBytes - uint32_t(p.width) * 3, 0);
    }
    return out;
}

void convertToCp1251(const std::string& in, const std::string& out) {
    const std::string utf8 = readText(in);
    const std::string bytes = kvelo::cp1251::fromUtf8(utf8, '?');
    if (std::count(bytes.begin(), bytes.end(), '?') != std::count(utf8.begin(), utf8.end(), '?'))
        throw std::runtime_error(in + ": holds characters outside code page 1251");
    writeBytes(out, {bytes.begin(), bytes.end()});
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: kvelo-demo-files png|bmp|cp1251 IN OUT\n";
        return 1;
    }
    const std::string mode = argv[1], in = argv[2], out = argv[3];
    try {
        if (mode == "png")
            writeBytes(out, encodePng(readPixelArt(in)));
        else if (mode == "bmp")
            writeBytes(out, encodeBmp(readPixelArt(in)));
        else if (mode == "cp1251")
            convertToCp1251(in, out);
        else
            throw std::runtime_error("unknown mode " + mode);
    } catch (const std::exception& e) {
        std::cerr << "kvelo-demo-files: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
