// The records that nodes of the bookmark, search-result and user trees (and
// the roots and group nodes of the catalogue) own. Their payload in tree
// files is 12 bytes (TDocInfo) or 33 bytes (TUserDocInfo).
#pragma once

#include "platform/DateTime.h"
#include "platform/TreeNodes.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kvelo {

class TKveloBase;
class TStream;

class TDocInfo : public TNodeObject {
public:
    static std::unique_ptr<TDocInfo> New() { return std::make_unique<TDocInfo>(); }

    int32_t DocId = 0;
    TDateTime Date = 0;
    int32_t Mark = 0;    // not stored
    bool Sorted = false; // folder property "sorted"; not stored
    // The base whose tree this node is the root of; not stored. (A pointer
    // does not fit the 32-bit DocId, so the root keeps it here instead.)
    TKveloBase* Base = nullptr;

    // DocId (i32) then Date (f64), little-endian.
    virtual void LoadFromStream(TStream& stream);
    virtual void SaveToStream(TStream& stream) const;
};

class TUserDocInfo : public TDocInfo {
public:
    static constexpr size_t NumberCapacity = 20;
    static std::unique_ptr<TDocInfo> New() { return std::make_unique<TUserDocInfo>(); }

    std::string Number; // at most NumberCapacity bytes, code page 1251

    // The TDocInfo payload, then Number as a 21-byte short string (length
    // byte, 20 characters; unused characters written as zeros).
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
};

// Creates the record of a new node of a base (the base's record class).
using RecordClass = std::unique_ptr<TDocInfo> (*)();

// The record a node owns, or null when it owns none (or something else).
TDocInfo* NodeRecord(const TTreeNode* node);

} // namespace kvelo
