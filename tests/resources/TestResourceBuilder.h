// SPDX-License-Identifier: MIT
// Builds small, well-formed inputs for the readers, so that tests can damage them on purpose:
// a minimal PE32 file whose only section holds a resource tree, and version-information nodes.
#ifndef VX_TESTS_RESOURCES_TESTRESOURCEBUILDER_H
#define VX_TESTS_RESOURCES_TESTRESOURCEBUILDER_H

#include "PeResources.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vxtest {

struct TestResource {
    ResourceKey type;
    ResourceKey name;
    std::uint16_t language;
    std::vector<std::uint8_t> data;
};

// File offsets of the fields that tests damage.
struct TestPe {
    std::vector<std::uint8_t> bytes;
    std::size_t pe_header = 0;        // "PE\0\0"
    std::size_t resource_dir_rva = 0; // data directory entry 2: RVA, then size
    std::size_t section_header = 0;   // the resource section's header
    std::size_t rsrc = 0;             // start of the resource section's raw data
    std::size_t first_data_entry = 0; // first IMAGE_RESOURCE_DATA_ENTRY
    std::size_t first_name = 0;       // first name string (length, then characters)
};

// A PE32 GUI file for i386 holding `resources`, which need at least one named type or name
// for `first_name` to mean anything.
TestPe BuildTestPe(const std::vector<TestResource>& resources);

// One version-information node, children included, laid out with 32-bit alignment.
std::vector<std::uint8_t> BuildVersionNode(const std::u16string& key, std::uint16_t type,
                                           const std::vector<std::uint8_t>& value,
                                           std::uint16_t value_length,
                                           const std::vector<std::vector<std::uint8_t>>& children);

// A text node: key and zero-terminated UTF-16 value.
std::vector<std::uint8_t> BuildVersionString(const std::u16string& key, const std::u16string& text);

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint16_t v);
void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v);

} // namespace vxtest

#endif
