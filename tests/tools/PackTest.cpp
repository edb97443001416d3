// The packer's output checked byte by byte against the file layout: header,
// document table, records, folder blocks, companion file, scrambling.
#include "PackFixture.h"

#include "platform/Cp1251.h"
#include "platform/DateTime.h"
#include "platform/Streams.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <map>
#include <tuple>

using kvelo::testing::Image;
using kvelo::testing::TempDir;
using nlohmann::json;

namespace {

// File offsets, written out here independently of the packer's own table.
constexpr size_t HeaderSize = 572, CompanionHeaderSize = 552;
constexpr size_t DocCountAt = 260, DocTableAt = 264, RootFolderAt = 268, ScrambleKeyAt = 312;
constexpr size_t ModeAAt = 324, LanguageAt = 325, ModeBAt = 326, RecordCountAt = 340;
constexpr size_t CompanionCountAt = 258, CompanionTableAt = 260, CompanionKeyAt = 272;
constexpr size_t BaseDateAt = 288;

std::string cp(const char* utf8) {
    return kvelo::cp1251::fromUtf8(utf8);
}

double dateOf(int y, int m, int d) {
    return *kvelo::EncodeDate(y, m, d);
}

struct Inflated {
    std::string bytes;
    size_t consumed = 0;
};

// Inflates the zlib stream at `at`; fails the test unless the stream ends properly.
Inflated inflateAt(const std::vector<uint8_t>& file, size_t at) {
    z_stream z{};
    EXPECT_EQ(inflateInit(&z), Z_OK);
    z.next_in = const_cast<Bytef*>(file.data() + at);
    z.avail_in = uInt(file.size() - at);
    Inflated out;
    int rc = Z_OK;
    char buffer[4096];
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        rc = inflate(&z, Z_NO_FLUSH);
        out.bytes.append(buffer, sizeof buffer - z.avail_out);
    }
    EXPECT_EQ(rc, Z_STREAM_END);
    out.consumed = z.total_in;
    inflateEnd(&z);
    return out;
}

std::vector<uint8_t> descramble(std::vector<uint8_t> bytes, size_t from, uint16_t key) {
    for (size_t p = from; p < bytes.size(); ++p)
        bytes[p] ^= uint8_t(uint32_t(p) * key);
    return bytes;
}

// Entry i of the document table: id and record offset.
std::pair<int32_t, int32_t> docEntry(const Image& base, int i) {
    const size_t at = size_t(base.i32(DocTableAt)) + 8 * size_t(i);
    return {base.i32(at), base.i32(at + 4)};
}

// One tree record with its name.
struct TreeRecord {
    int32_t docId, parentPos, childPos;
    int image, selected;
    std::string name;
    size_t at, next;
};

TreeRecord treeRecord(const Image& f, size_t at) {
    const int32_t nameLength = f.i32(at + 16);
    return {f.i32(at),
            f.i32(at + 4),
            f.i32(at + 8),
            f.u8(at + 12),
            f.u8(at + 13),
            f.chars(at + 20, size_t(nameLength)),
            at,
            at + 20 + size_t(nameLength)};
}

// The children of the folder block at `at`, and its key.
std::pair<int32_t, std::vector<TreeRecord>> folderBlock(const Image& f, size_t at) {
    std::vector<TreeRecord> children;
    size_t pos = at + 5;
    for (int i = 0; i < f.u8(at); ++i) {
        children.push_back(treeRecord(f, pos));
        pos = children.back().next;
    }
    return {f.i32(at + 1), children};
}

const char* const threeDocs = R"({
  "name": "Законодательство", "language": 1, "recordCount": 77,
  "tree": [
    {"folder": "Кодексы", "children": [
       {"doc": 30},
       {"folder": "Пустая", "image": 22, "key": 7},
       {"doc": 10, "image": 16, "name": "Ярлык"}]},
    {"doc": 10},
    {"doc": 20},
    {"doc": -5}
  ],
  "documents": [
    {"id": 30, "title": "Третий", "date": "01.02.2003", "text": "{\\rtf1 три}"},
    {"id": 10, "title": "Первый", "date": "30.08.1996", "text": "{\\rtf1 один}", "excluded": true},
    {"id": -5, "title": "Отрицательный", "text": "x"},
    {"id": 20, "title": "Второй", "text": "{\\rtf1 два}", "number": "УП-1", "type": 1}
  ]
})";

class PackTest : public ::testing::Test {
protected:
    TempDir dir;

    Image pack(const json& manifest, const std::string& name = "base.phb") {
        kvelo::pack::PackBase(manifest, dir.Path(), dir.File(name));
        return Image{kvelo::ReadWholeFile(dir.File(name))};
    }
    Image companionOf(const std::string& name) {
        return Image{kvelo::ReadWholeFile(dir.File(kvelo::pack::CompanionPath(name)))};
    }
    static json companionManifest() {
        json m = json::parse(threeDocs);
        m["storage"] = "companion";
        m["baseDate"] = "27.01.2004";
        m["documents"][0]["comment"] = "NB проверить";
        m["documents"][0]["changeDate"] = "01.01.2005";
        m["documents"][0]["attach"] = "table.xls";
        m["documents"][0]["sourceType"] = "xls";
        m["documents"][1]["richView"] = true;
        return m;
    }
    void writeFile(const std::string& name, const std::string& bytes) {
        std::filesystem::create_directories(std::filesystem::path(dir.File(name)).parent_path());
        kvelo::WriteFileAtomic(dir.File(name), bytes.data(), bytes.size());
    }
};

TEST_F(PackTest, HeaderCarriesNameCountsAndModes) {
    const Image base = pack(json::parse(threeDocs));
    EXPECT_EQ(base.chars(0, 4), "SGK1");
    EXPECT_EQ(base.u8(4), cp("Законодательство").size());
    EXPECT_EQ(base.chars(5, base.u8(4)), cp("Законодательство"));
    EXPECT_EQ(base.u16(DocCountAt), 4);
    EXPECT_EQ(base.i32(RecordCountAt), 77);
    EXPECT_EQ(base.u8(LanguageAt), 1);
    EXPECT_EQ(base.u8(ModeAAt), 0);
    EXPECT_EQ(base.u8(ModeBAt), 0);
    EXPECT_EQ(base.i32(ScrambleKeyAt), 0);
    EXPECT_EQ(base.i32(RootFolderAt), int32_t(HeaderSize));
    // Every index table (count, offset) starts after the header, inside the file.
    for (size_t at : {272, 280, 288, 296, 304, 316, 332}) {
        if (base.i32(at) == 0) continue;
        EXPECT_GE(base.i32(at + 4), int32_t(HeaderSize)) << "index table at " << at;
        EXPECT_LT(base.i32(at + 4), int32_t(base.bytes.size())) << "index table at " << at;
    }
}

TEST_F(PackTest, DocumentTableIsSortedAndRecordsHoldTitleDateAndBody) {
    const Image base = pack(json::parse(threeDocs));
    const std::vector<std::tuple<int32_t, std::string, double, std::string>> expected = {
        {-5, cp("Отрицательный"), 0.0, "x"},
        {10, cp("Первый"), dateOf(1996, 8, 30), cp("{\\rtf1 один}")},
        {20, cp("Второй"), 0.0, cp("{\\rtf1 два}")},
        {30, cp("Третий"), dateOf(2003, 2, 1), cp("{\\rtf1 три}")},
    };
    for (int i = 0; i < 4; ++i) {
        const auto [id, title, date, body] = expected[size_t(i)];
        const auto [tableId, record] = docEntry(base, i);
        EXPECT_EQ(tableId, id);
        EXPECT_EQ(base.date(size_t(record) + 4), date) << id;
        EXPECT_EQ(base.counted(size_t(record) + 12), title) << id;
        EXPECT_EQ(inflateAt(base.bytes, size_t(record) + 14 + title.size()).bytes, body) << id;
    }
}

TEST_F(PackTest, FolderBlocksLinkParentsChildrenAndKeys) {
    const Image base = pack(json::parse(threeDocs));
    const auto [rootKey, top] = folderBlock(base, HeaderSize);
    ASSERT_EQ(top.size(), 4u);
    EXPECT_EQ(rootKey, int32_t(HeaderSize));

    const TreeRecord& codes = top[0];
    EXPECT_EQ(codes.name, cp("Кодексы"));
    EXPECT_EQ(codes.image, 1);
    EXPECT_EQ(codes.selected, 2);
    EXPECT_LE(codes.parentPos, 0);
    // Default folder key: the folder's ChildPos, both in its record and in its block.
    EXPECT_EQ(codes.docId, codes.childPos);
    const auto [codesKey, inCodes] = folderBlock(base, size_t(codes.childPos));
    EXPECT_EQ(codesKey, codes.childPos);
    ASSERT_EQ(inCodes.size(), 3u);
    for (const TreeRecord& child : inCodes)
        EXPECT_EQ(child.parentPos, int32_t(codes.at));

    EXPECT_EQ(inCodes[0].docId, 30);
    EXPECT_EQ(inCodes[0].name, cp("Третий")); // the name defaults to the title
    const TreeRecord& empty = inCodes[1];
    EXPECT_EQ(empty.docId, 7);
    EXPECT_EQ(empty.image, 22);
    EXPECT_EQ(empty.selected, 23);
    EXPECT_EQ(folderBlock(base, size_t(empty.childPos)).first, 7);
    EXPECT_TRUE(folderBlock(base, size_t(empty.childPos)).second.empty());
    EXPECT_EQ(inCodes[2].image, 16);
    EXPECT_EQ(inCodes[2].name, cp("Ярлык"));

    EXPECT_EQ(top[1].docId, 10);
    EXPECT_EQ(top[1].image, 18); // excluded
    EXPECT_EQ(top[1].selected, 18);
    EXPECT_EQ(top[2].image, 4);
    EXPECT_EQ(top[3].docId, -5);
}

TEST_F(PackTest, TreePosPointsAtTheFirstNodeOfEachDocumentInTreeOrder) {
    const Image base = pack(json::parse(threeDocs));
    const auto top = folderBlock(base, HeaderSize).second;
    const auto inCodes = folderBlock(base, size_t(top[0].childPos)).second;
    const std::map<int32_t, size_t> firstNode = {
        {-5, top[3].at}, {10, inCodes[2].at}, {20, top[2].at}, {30, inCodes[0].at}};
    for (int i = 0; i < 4; ++i) {
        const auto [id, record] = docEntry(base, i);
        EXPECT_EQ(size_t(base.i32(size_t(record))), firstNode.at(id)) << id;
    }
}

TEST_F(PackTest, CompanionFileHoldsBodiesAttachmentsAndRecordTails) {
    writeFile("table.xls", "XLS bytes");
    const Image base = pack(companionManifest(), "lang.kvl");
    const Image companion = companionOf("lang.kvl");
    EXPECT_EQ(base.u8(ModeBAt), 45);
    EXPECT_EQ(companion.u16(CompanionCountAt), 4);
    EXPECT_EQ(companion.i32(CompanionKeyAt), 0);
    EXPECT_EQ(companion.date(BaseDateAt), dateOf(2004, 1, 27));
    const size_t table = size_t(companion.i32(CompanionTableAt));
    EXPECT_GE(table, CompanionHeaderSize);

    struct Expect {
        int32_t id;
        std::string body, comment;
        double changeDate;
        bool attached, richView;
    };
    const std::vector<Expect> expected = {
        {-5, "x", "", 0.0, false, false},
        {10, cp("{\\rtf1 один}"), "", 0.0, false, true},
        {20, cp("{\\rtf1 два}"), "", 0.0, false, false},
        {30, cp("{\\rtf1 три}"), cp("NB проверить"), dateOf(2005, 1, 1), true, false},
    };
    for (int i = 0; i < 4; ++i) {
        const Expect& e = expected[size_t(i)];
        const auto [id, record] = docEntry(base, i);
        ASSERT_EQ(id, e.id);
        const size_t bodyAt = size_t(companion.i32(table + 8 * size_t(i) + 4));
        const Inflated body = inflateAt(companion.bytes, bodyAt);
        EXPECT_EQ(body.bytes, e.body) << id;

        size_t at = size_t(record) + 12 + 2 + base.u16(size_t(record) + 12);
        EXPECT_EQ(base.counted(at), e.comment) << id;
        at += 2 + e.comment.size();
        EXPECT_EQ(base.date(at), e.changeDate) << id;
        const int32_t attachOffset = base.i32(at + 8);
        at += 12;
        if (e.attached) {
            EXPECT_EQ(size_t(attachOffset), body.consumed) << "the attachment follows the body";
            EXPECT_EQ(inflateAt(companion.bytes, bodyAt + size_t(attachOffset)).bytes, "XLS bytes");
            EXPECT_EQ(base.counted(at), "xls");
            at += 2 + 3;
        } else {
            EXPECT_EQ(attachOffset, 0) << id;
        }
        EXPECT_EQ(base.u8(at), e.richView ? 1 : 0) << id;
    }
}

TEST_F(PackTest, ScramblingXorsEverythingAfterTheHeaderByPosition) {
    json plain = companionManifest();
    writeFile("table.xls", "XLS bytes");
    const Image clear = pack(plain, "clear.kvl");
    const Image clearCompanion = companionOf("clear.kvl");
    json scrambled = plain;
    scrambled["scrambleKey"] = 0x12345;
    scrambled["companionKey"] = 4321;
    const Image base = pack(scrambled, "secret.kvl");
    const Image companion = companionOf("secret.kvl");

    EXPECT_EQ(base.i32(ScrambleKeyAt), 0x12345);
    EXPECT_EQ(companion.i32(CompanionKeyAt), 1);
    EXPECT_NE(base.bytes, clear.bytes);
    EXPECT_NE(companion.bytes, clearCompanion.bytes);

    // Only the low 16 bits of ScrambleKey are the key; the header is never scrambled.
    std::vector<uint8_t> baseAgain = descramble(base.bytes, HeaderSize, 0x2345);
    std::fill_n(baseAgain.begin() + ScrambleKeyAt, 4, 0);
    EXPECT_EQ(baseAgain, clear.bytes);
    std::vector<uint8_t> companionAgain = descramble(companion.bytes, CompanionHeaderSize, 4321);
    companionAgain[CompanionKeyAt] = 0;
    EXPECT_EQ(companionAgain, clearCompanion.bytes);
}

TEST_F(PackTest, KeyWithZeroLowBitsLeavesTheBytesAlone) {
    json m = json::parse(threeDocs);
    const Image clear = pack(m, "clear.phb");
    m["scrambleKey"] = 0x10000;
    Image base = pack(m, "zero.phb");
    EXPECT_EQ(base.i32(ScrambleKeyAt), 0x10000);
    std::fill_n(base.bytes.begin() + ScrambleKeyAt, 4, 0);
    EXPECT_EQ(base.bytes, clear.bytes);
}

TEST_F(PackTest, StorageModeBytesFollowTheExtensionUnlessGivenRaw) {
    json m = json::parse(threeDocs);
    m["storage"] = "companion";
    EXPECT_EQ(pack(m, "extra.buk").u8(ModeBAt), 42) << "a companion .buk is supplementary";
    EXPECT_EQ(pack(m, "lang.kvl").u8(ModeBAt), 45);
    m["modeA"] = 3;
    m["modeB"] = 40;
    const Image raw = pack(m, "raw.kvl");
    EXPECT_EQ(raw.u8(ModeAAt), 3);
    EXPECT_EQ(raw.u8(ModeBAt), 40);
    json self = json::parse(threeDocs);
    self["modeA"] = 1;
    EXPECT_EQ(pack(self, "one.phb").u8(ModeAAt), 1)
        << "raw bytes are written even when not accepted";
}

TEST_F(PackTest, BodiesComeFromFilesInlineTextOrBase64) {
    writeFile("bodies/a.rtf", "{\\rtf1 file}");
    json m =
        json::parse(R"({"name": "b", "tree": [{"doc": 1}, {"doc": 2}, {"doc": 3}], "documents": [
        {"id": 1, "title": "file", "body": "bodies/a.rtf"},
        {"id": 2, "title": "png", "bytes_base64": "iVBORw0KGgo="},
        {"id": 3, "title": "empty", "text": ""}]})");
    const Image base = pack(m);
    const auto bodyOf = [&](int i) {
        const size_t record = size_t(docEntry(base, i).second);
        return inflateAt(base.bytes, record + 14 + base.u16(record + 12)).bytes;
    };
    EXPECT_EQ(bodyOf(0), "{\\rtf1 file}");
    EXPECT_EQ(bodyOf(1), std::string("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(bodyOf(2), "");
}

TEST_F(PackTest, TextFilesAreConvertedAndLaterFoldersAreSearched) {
    writeFile("src/m/doc.rtf", "{\\rtf1\\ansicpg1251 Привет}");
    writeFile("gen/pic.png", "PNGDATA");
    json m = json::parse(R"({"name": "b", "tree": [{"doc": 1}, {"doc": 2}], "documents": [
        {"id": 1, "title": "t", "textFile": "doc.rtf"},
        {"id": 2, "title": "p", "body": "pic.png"}]})");
    kvelo::pack::PackBase(m, {dir.File("src/m"), dir.File("gen")}, dir.File("b.phb"));
    const Image base{kvelo::ReadWholeFile(dir.File("b.phb"))};
    const auto bodyOf = [&](int i) {
        const size_t record = size_t(docEntry(base, i).second);
        return inflateAt(base.bytes, record + 14 + base.u16(record + 12)).bytes;
    };
    EXPECT_EQ(bodyOf(0), cp("{\\rtf1\\ansicpg1251 Привет}"));
    EXPECT_EQ(bodyOf(1), "PNGDATA");
}

} // namespace
