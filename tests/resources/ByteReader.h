// SPDX-License-Identifier: MIT
// Little-endian reads from a byte buffer that never go past its end: a read that would
// throws ParseError, so a parser can be written straight and fail cleanly in one place.
#ifndef VX_TESTS_RESOURCES_BYTEREADER_H
#define VX_TESTS_RESOURCES_BYTEREADER_H

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace vxtest {

class ParseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }

    bool Contains(std::uint64_t offset, std::uint64_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }

    std::span<const std::uint8_t> Bytes(std::uint64_t offset, std::uint64_t length,
                                        const char* what) const {
        if (!Contains(offset, length)) {
            throw ParseError(std::string(what) + ": out of bounds");
        }
        return bytes_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
    }

    std::uint8_t U8(std::uint64_t offset, const char* what) const {
        return Bytes(offset, 1, what)[0];
    }

    std::uint16_t U16(std::uint64_t offset, const char* what) const {
        const auto b = Bytes(offset, 2, what);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }

    std::uint32_t U32(std::uint64_t offset, const char* what) const {
        const auto b = Bytes(offset, 4, what);
        return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
               (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }

private:
    std::span<const std::uint8_t> bytes_;
};

} // namespace vxtest

#endif
