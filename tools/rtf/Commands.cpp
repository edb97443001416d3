#include "Commands.h"

#include "platform/Streams.h"
#include "rtfengine/model/PlainText.h"
#include "rtfengine/reader/RtfReader.h"
#include "rtfengine/writer/RtfWriter.h"

#include <cstdio>
#include <iostream>
#include <iterator>

namespace kvelo::rtftool {

namespace {

std::vector<TCommand>& Table() {
    static std::vector<TCommand> table;
    return table;
}

std::vector<uint8_t> ReadStandardInput() {
    std::vector<uint8_t> bytes;
    uint8_t buffer[64 * 1024];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    return bytes;
}

void WriteOut(const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

int TextCommand(const std::vector<std::string>& args) {
    TSectionList doc;
    if (!LoadDocument(args[0], doc)) return 1;
    WriteOut(DocumentTextUtf8(doc));
    return 0;
}

int RoundtripCommand(const std::vector<std::string>& args) {
    TSectionList doc;
    if (!LoadDocument(args[0], doc)) return 1;
    WriteOut(WriteRtfString(doc, true, false));
    return 0;
}

} // namespace

void RegisterCommand(TCommand command) {
    Table().push_back(std::move(command));
}
const std::vector<TCommand>& Commands() {
    return Table();
}

bool LoadDocument(const std::string& name, TSectionList& document) {
    try {
        if (name == "-") {
            const std::vector<uint8_t> bytes = ReadStandardInput();
            RtfParseBytes(document, bytes.data(), bytes.size());
        } else {
            TFileStream file(name);
            RtfParseStream(document, file);
        }
        return true;
    } catch (const std::exception& e) {
        std::cerr << "kvelo-rtf: " << name << ": " << e.what() << '\n';
        return false;
    }
}

void RegisterCoreCommands() {
    RegisterCommand({"text", "FILE", "print the plain text (UTF-8)", TextCommand});
    RegisterCommand({"roundtrip", "FILE", "read and write the RTF again", RoundtripCommand});
}

} // namespace kvelo::rtftool
