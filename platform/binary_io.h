// Little-endian field readers and writers with exact byte counts.
//
// BinaryReader reads from a std::istream; a read that cannot deliver all its bytes raises
// "Read beyond end of file". BinaryWriter appends to a byte sink (an output file or a memory
// buffer) field by field; nothing is ever dumped as a struct. Records read a block of bytes at
// a time are decoded field by field from the block (GetUint32 and its kin), nothing ever read
// straight into a struct.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <istream>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace quarn {

/// Puts value as four little-endian bytes at at; returns the byte after them.
inline std::uint8_t* PutUint32(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
    at[2] = static_cast<std::uint8_t>(value >> 16);
    at[3] = static_cast<std::uint8_t>(value >> 24);
    return at + 4;
}

/// Puts value's bits the same way.
inline std::uint8_t* PutFloat(std::uint8_t* at, float value) {
    return PutUint32(at, std::bit_cast<std::uint32_t>(value));
}

/// The four little-endian bytes at at as a number.
inline std::uint32_t GetUint32(const std::uint8_t* at) {
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 |
           std::uint32_t{at[3]} << 24;
}

/// The same bytes as a two's-complement number.
inline std::int32_t GetInt32(const std::uint8_t* at) {
    return static_cast<std::int32_t>(GetUint32(at));
}

/// The same bytes as a float's bits.
inline float GetFloat(const std::uint8_t* at) {
    return std::bit_cast<float>(GetUint32(at));
}

class BinaryReader {
  public:
    explicit BinaryReader(std::istream& in) : m_in(in) {}

    /// Reads exactly size bytes into out, or raises "Read beyond end of file".
    void readBytes(std::span<std::uint8_t> out);
    /// Reads up to size bytes, returns how many were there (a short read is no error).
    std::size_t readAvailable(std::span<std::uint8_t> out);
    std::uint8_t readUint8();
    std::uint16_t readUint16();
    std::int32_t readInt32();
    std::uint32_t readUint32();
    float readFloat();
    /// True when no byte is left.
    bool atEnd();

  private:
    std::istream& m_in;
};

/// Opens fileName for binary reading; a missing file, a folder or a file that cannot be read
/// raises the platform's error ("File not found", "File access denied", ...).
std::unique_ptr<std::ifstream> OpenBinaryInput(const std::string& fileName);

/// Where written bytes go.
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    virtual void write(std::span<const std::uint8_t> bytes) = 0;
};

/// A sink that keeps everything in memory (tests, small files).
class MemorySink : public ByteSink {
  public:
    void write(std::span<const std::uint8_t> bytes) override;
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }

  private:
    std::vector<std::uint8_t> m_bytes;
};

class BinaryWriter {
  public:
    explicit BinaryWriter(ByteSink& sink) : m_sink(sink) {}

    void writeBytes(std::span<const std::uint8_t> bytes) { m_sink.write(bytes); }
    void writeUint8(std::uint8_t value);
    void writeInt32(std::int32_t value);
    void writeFloat(float value);
    /// Writes text as it stands (no terminator).
    void writeText(const std::string& text);

  private:
    ByteSink& m_sink;
};

}  // namespace quarn
