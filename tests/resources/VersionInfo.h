// SPDX-License-Identifier: MIT
// Reads a version-information resource (VS_VERSIONINFO) into its tree of keyed nodes, with
// every length checked against the node that contains it.
#ifndef VX_TESTS_RESOURCES_VERSIONINFO_H
#define VX_TESTS_RESOURCES_VERSIONINFO_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vxtest {

struct VersionNode {
    std::u16string key;
    std::uint16_t type = 0;              // 1: the value is text, 0: binary
    std::span<const std::uint8_t> value; // points into the parsed data
    std::vector<VersionNode> children;

    const VersionNode* Child(std::u16string_view child_key) const;
    // A text value up to its terminating zero.
    std::u16string Text() const;
};

// The fixed part of the version information (VS_FIXEDFILEINFO), in declaration order.
struct FixedFileInfo {
    std::uint32_t signature, struct_version, file_version_ms, file_version_ls, product_version_ms,
        product_version_ls, file_flags_mask, file_flags, file_os, file_type, file_subtype,
        file_date_ms, file_date_ls;
};

std::optional<VersionNode> ParseVersionInfo(std::span<const std::uint8_t> data,
                                            std::string* error = nullptr);

// The root's value as the fixed file information; nothing if it is too short or unsigned.
std::optional<FixedFileInfo> ReadFixedFileInfo(const VersionNode& root);

} // namespace vxtest

#endif
