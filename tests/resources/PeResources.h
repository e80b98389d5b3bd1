// SPDX-License-Identifier: MIT
// A small reader of PE files (PE32 and PE32+): the header fields the tests look at and the
// whole resource tree, flattened. Every offset, size and count in the file is checked before
// use, so a truncated or corrupt file gives an error, never a read past the buffer.
#ifndef VX_TESTS_RESOURCES_PERESOURCES_H
#define VX_TESTS_RESOURCES_PERESOURCES_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vxtest {

inline constexpr std::uint16_t kRtIcon = 3;
inline constexpr std::uint16_t kRtGroupIcon = 14;
inline constexpr std::uint16_t kRtVersion = 16;
inline constexpr std::uint16_t kRtManifest = 24;

// A resource type or name: a number or a string.
struct ResourceKey {
    bool is_name = false;
    std::uint16_t id = 0;
    std::u16string name;

    static ResourceKey Id(std::uint16_t id) { return {false, id, {}}; }
    static ResourceKey Name(std::u16string name) { return {true, 0, std::move(name)}; }
    bool operator==(const ResourceKey&) const = default;
};

struct ResourceEntry {
    ResourceKey type;
    ResourceKey name;
    std::uint16_t language = 0;
    std::uint32_t code_page = 0;
    std::span<const std::uint8_t> data; // points into the parsed file
};

struct PeImage {
    std::uint16_t machine = 0;
    std::uint16_t subsystem = 0;
    bool pe32_plus = false;
    std::vector<ResourceEntry> resources; // in directory order
};

// Parses a PE file. On failure returns nothing and, if `error` is given, says why. The spans
// in the result point into `file`, which must outlive them.
std::optional<PeImage> ParsePe(std::span<const std::uint8_t> file, std::string* error = nullptr);

// Every resource of the given type (and name, when given), in any language.
std::vector<const ResourceEntry*> FindResources(const PeImage& image, const ResourceKey& type,
                                                const std::optional<ResourceKey>& name = {});

std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

} // namespace vxtest

#endif
