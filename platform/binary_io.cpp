#include "binary_io.h"

#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform_error.h"

namespace quarn {

std::unique_ptr<std::ifstream> OpenBinaryInput(const std::string& fileName) {
    // A folder opens as a stream on this system but reads nothing.
    std::error_code ignored;
    if (std::filesystem::is_directory(fileName, ignored))
        ThrowIoError(EISDIR);
    errno = 0;
    auto stream = std::make_unique<std::ifstream>(fileName, std::ios::binary);
    if (!*stream)
        ThrowIoError(errno == 0 ? ENOENT : errno);
    return stream;
}

void BinaryReader::readBytes(std::span<std::uint8_t> out) {
    if (readAvailable(out) != out.size())
        throw PlatformError("Read beyond end of file");
}

std::size_t BinaryReader::readAvailable(std::span<std::uint8_t> out) {
    if (out.empty())
        return 0;
    m_in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
    const auto got = static_cast<std::size_t>(m_in.gcount());
    if (m_in.bad())
        throw PlatformError("I/O error");
    if (got < out.size())
        m_in.clear(m_in.rdstate() & ~(std::ios::failbit | std::ios::eofbit));
    return got;
}

std::uint8_t BinaryReader::readUint8() {
    std::array<std::uint8_t, 1> b{};
    readBytes(b);
    return b[0];
}

std::uint16_t BinaryReader::readUint16() {
    std::array<std::uint8_t, 2> b{};
    readBytes(b);
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

std::uint32_t BinaryReader::readUint32() {
    std::array<std::uint8_t, 4> b{};
    readBytes(b);
    return GetUint32(b.data());
}

std::int32_t BinaryReader::readInt32() {
    return static_cast<std::int32_t>(readUint32());
}

float BinaryReader::readFloat() {
    return std::bit_cast<float>(readUint32());
}

bool BinaryReader::atEnd() {
    return m_in.peek() == std::char_traits<char>::eof() && (m_in.clear(), true);
}

void MemorySink::write(std::span<const std::uint8_t> bytes) {
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
}

void BinaryWriter::writeUint8(std::uint8_t value) {
    m_sink.write({&value, 1});
}

void BinaryWriter::writeInt32(std::int32_t value) {
    std::array<std::uint8_t, 4> b{};
    PutUint32(b.data(), static_cast<std::uint32_t>(value));
    m_sink.write(b);
}

void BinaryWriter::writeFloat(float value) {
    writeInt32(std::bit_cast<std::int32_t>(value));
}

void BinaryWriter::writeText(const std::string& text) {
    m_sink.write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

}  // namespace quarn
