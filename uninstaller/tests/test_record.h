// A small queue record of the tests' own: its bytes are its text. Format
// 3000 is current; format 3000 records whose text begins "v2:" are of an
// older kind, which the upgrade rewrites without the prefix.
#pragma once

#include "QueueRecord.h"

#include <string>

class TestRecord : public CQueueRecord {
public:
    TestRecord() = default;
    TestRecord(std::uint32_t id, std::uint32_t key, std::string text) : id_(id), key_(key), text_(std::move(text)) {}

    bool Parse(std::string_view bytes, const QueueEntry& entry) override {
        if (entry.Format() != 3000) return false;
        Take(bytes, entry);
        return true;
    }
    bool ParseOld(std::string_view bytes, const QueueEntry& entry) override {
        if (entry.Format() != 3000 || bytes.substr(0, 3) != "v2:") return false;
        Take(bytes.substr(3), entry);
        return true;
    }
    std::string Serialize() const override { return text_; }
    // No flags of its own: the database marks what it adds live.
    QueueEntry EntryCopy() const override { return QueueEntry{id_, key_, 0, 3000, 0, 0}; }

    const std::string& text() const { return text_; }

private:
    void Take(std::string_view bytes, const QueueEntry& entry) {
        id_ = entry.id;
        key_ = entry.key;
        text_ = std::string(bytes);
    }
    std::uint32_t id_ = 0;
    std::uint32_t key_ = 0;
    std::string text_;
};
