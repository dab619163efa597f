// Checksums over buffers, strings and files: MD5 seals the queue database's
// files, the word sum protects each stored record, XOR checks cached ad files.
// The file forms can take a span of the file as zero bytes, so a file can
// carry its own checksum. Only the file forms need the platform; everything
// else also builds with the host compiler.
#pragma once

#include <cstddef>
#include <cstdint>

// Where the file forms get their bytes: the checksum reads a file from its
// start in blocks and may skip past a zeroed span.
class CChecksumSource {
public:
    virtual ~CChecksumSource() = default;
    virtual bool SeekTo(std::uint64_t offset) = 0;
    // Bytes read into the buffer, 0 at the end of the file, -1 on a read error.
    virtual long Read(std::uint8_t* buffer, std::size_t capacity) = 0;
};

class CChecksum {
public:
    static constexpr std::size_t kBlockSize = 1024;

    virtual ~CChecksum() = default;

    // Each form writes ValueSize() bytes to `out` and returns true, or
    // returns false and leaves `out` alone.
    bool OfBuffer(const void* data, std::size_t length, std::uint8_t* out);
    bool OfString(const char* text, std::uint8_t* out);
#ifdef _WIN32
    bool OfFile(void* file, std::uint64_t spanOffset, std::uint64_t spanLength, std::uint8_t* out);
    bool OfFile(void* file, std::uint8_t* out);
    bool OfPath(const char* path, std::uint64_t spanOffset, std::uint64_t spanLength, std::uint8_t* out);
    bool OfPath(const char* path, std::uint8_t* out);
#endif
    // The file forms over any source: read from the start in 1024-byte
    // blocks; a read error mid-file is a failure, not a partial value.
    bool OfSource(CChecksumSource& source, std::uint64_t spanOffset, std::uint64_t spanLength, std::uint8_t* out);
    bool OfSource(CChecksumSource& source, std::uint8_t* out);

    virtual std::uint16_t ValueSize() const = 0;

protected:
    virtual void Reset() = 0;
    virtual void Update(const std::uint8_t* data, std::size_t length) = 0;
    virtual void WriteValue(std::uint8_t* out) = 0;
};

class CMd5Checksum : public CChecksum {
public:
    CMd5Checksum() { Reset(); }
    std::uint16_t ValueSize() const override { return 16; }

    void Reset() override;
    void Update(const std::uint8_t* data, std::size_t length) override;
    void WriteValue(std::uint8_t* out) override;
    // The block transform over 64 bytes.
    void Transform(const std::uint8_t* block);

private:
    std::uint32_t state_[4];
    std::uint64_t bitCount_;
    std::uint8_t buffer_[64];
};

// Big-endian 32-bit words from each call's first byte; a last partial word is
// completed with zero bytes, so word boundaries restart with every call.
class CWordSumChecksum : public CChecksum {
public:
    std::uint16_t ValueSize() const override { return 4; }

    void Reset() override { total_ = 0; }
    void Update(const std::uint8_t* data, std::size_t length) override;
    void WriteValue(std::uint8_t* out) override;

private:
    std::uint32_t total_ = 0;
};

class CXorChecksum : public CChecksum {
public:
    std::uint16_t ValueSize() const override { return 1; }

    void Reset() override { sum_ = 0; }
    void Update(const std::uint8_t* data, std::size_t length) override;
    void WriteValue(std::uint8_t* out) override { out[0] = sum_; }

private:
    std::uint8_t sum_ = 0;
};
