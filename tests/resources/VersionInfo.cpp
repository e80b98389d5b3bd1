// SPDX-License-Identifier: MIT
#include "VersionInfo.h"

#include "ByteReader.h"

namespace vxtest {
namespace {

constexpr int kMaxDepth = 8; // a real block nests four deep
constexpr std::uint64_t kNodeHeaderSize = 6;

std::uint64_t Align4(std::uint64_t offset) {
    return (offset + 3) & ~std::uint64_t{3};
}

// Reads the node at `at` (offsets relative to the start of the resource, where alignment is
// counted) that must end within `limit`.
VersionNode ReadNode(const ByteReader& data, std::uint64_t at, std::uint64_t limit, int depth) {
    if (depth > kMaxDepth) {
        throw ParseError("version information nested too deep");
    }
    const std::uint16_t length = data.U16(at, "version node");
    const std::uint16_t value_length = data.U16(at + 2, "version node");
    VersionNode node;
    node.type = data.U16(at + 4, "version node");
    if (length < kNodeHeaderSize || at + length > limit) {
        throw ParseError("version node length out of range");
    }
    const std::uint64_t end = at + length;
    const ByteReader body(data.Bytes(0, end, "version node"));

    std::uint64_t pos = at + kNodeHeaderSize;
    for (;;) {
        const std::uint16_t c = body.U16(pos, "version node key");
        pos += 2;
        if (c == 0) {
            break;
        }
        node.key.push_back(static_cast<char16_t>(c));
    }
    pos = Align4(pos);
    // A text value's length counts 16-bit characters, a binary value's counts bytes.
    const std::uint64_t value_bytes =
        node.type == 1 ? std::uint64_t{value_length} * 2 : value_length;
    if (value_bytes > 0) {
        node.value = body.Bytes(pos, value_bytes, "version node value");
        pos = Align4(pos + value_bytes);
    }
    while (pos < end) {
        node.children.push_back(ReadNode(body, pos, end, depth + 1));
        pos = Align4(pos + body.U16(pos, "version node"));
    }
    return node;
}

} // namespace

const VersionNode* VersionNode::Child(std::u16string_view child_key) const {
    for (const VersionNode& child : children) {
        if (child.key == child_key) {
            return &child;
        }
    }
    return nullptr;
}

std::u16string VersionNode::Text() const {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < value.size(); i += 2) {
        const auto c = static_cast<char16_t>(value[i] | (value[i + 1] << 8));
        if (c == 0) {
            break;
        }
        text.push_back(c);
    }
    return text;
}

std::optional<VersionNode> ParseVersionInfo(std::span<const std::uint8_t> data,
                                            std::string* error) {
    try {
        const ByteReader reader(data);
        return ReadNode(reader, 0, reader.size(), 0);
    } catch (const ParseError& e) {
        if (error != nullptr) {
            *error = e.what();
        }
        return std::nullopt;
    }
}

std::optional<FixedFileInfo> ReadFixedFileInfo(const VersionNode& root) {
    constexpr std::size_t kFields = sizeof(FixedFileInfo) / sizeof(std::uint32_t);
    if (root.value.size() < kFields * 4) {
        return std::nullopt;
    }
    const ByteReader value(root.value);
    std::uint32_t fields[kFields];
    for (std::size_t i = 0; i < kFields; ++i) {
        fields[i] = value.U32(i * 4, "fixed file information");
    }
    const FixedFileInfo info{fields[0],  fields[1],  fields[2], fields[3], fields[4],
                             fields[5],  fields[6],  fields[7], fields[8], fields[9],
                             fields[10], fields[11], fields[12]};
    if (info.signature != 0xFEEF04BD) {
        return std::nullopt;
    }
    return info;
}

} // namespace vxtest
