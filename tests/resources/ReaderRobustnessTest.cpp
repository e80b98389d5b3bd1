// SPDX-License-Identifier: MIT
// The readers on damaged input: every truncation and every kind of bad offset, size or count
// must end in a clean error (the sanitizers catch any read past the buffer), and what they do
// accept must point inside the buffer.
#include "PeResources.h"
#include "TestResourceBuilder.h"
#include "VersionInfo.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace vxtest {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

std::vector<std::uint8_t> SampleVersionInfo() {
    const std::vector<std::uint8_t> fixed = [] {
        std::vector<std::uint8_t> v(52, 0);
        Put32(v, 0, 0xFEEF04BD);
        Put32(v, 8, 0x00000001);
        return v;
    }();
    return BuildVersionNode(
        u"VS_VERSION_INFO", 0, fixed, 52,
        {BuildVersionNode(u"StringFileInfo", 1, {}, 0,
                          {BuildVersionNode(u"041103A4", 1, {}, 0,
                                            {BuildVersionString(u"ProductName", u"Vexelo"),
                                             BuildVersionString(u"FileVersion", u"0.1")})}),
         BuildVersionNode(u"VarFileInfo", 1, {}, 0,
                          {BuildVersionNode(u"Translation", 0, {0x11, 0x04, 0xA4, 0x03}, 4, {})})});
}

class ReaderRobustness : public ::testing::Test {
protected:
    ReaderRobustness()
        : pe_(BuildTestPe({
              {ResourceKey::Id(kRtManifest), ResourceKey::Id(1), 1033, Bytes("<assembly/>")},
              {ResourceKey::Id(kRtGroupIcon), ResourceKey::Name(u"MAINICON"), 1033, Bytes("group")},
              {ResourceKey::Id(kRtVersion), ResourceKey::Id(1), 1033, SampleVersionInfo()},
              {ResourceKey::Id(kRtVersion), ResourceKey::Id(1), 1041, Bytes("ja")},
          })) {}

    TestPe pe_;
};

TEST_F(ReaderRobustness, WellFormedFileReadsBack) {
    std::string error;
    const auto image = ParsePe(pe_.bytes, &error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->machine, 0x14C);
    EXPECT_EQ(image->subsystem, 2);
    ASSERT_EQ(image->resources.size(), 4u);

    const auto icon =
        FindResources(*image, ResourceKey::Id(kRtGroupIcon), ResourceKey::Name(u"MAINICON"));
    ASSERT_EQ(icon.size(), 1u);
    EXPECT_EQ(std::string(icon[0]->data.begin(), icon[0]->data.end()), "group");

    const auto versions = FindResources(*image, ResourceKey::Id(kRtVersion), ResourceKey::Id(1));
    ASSERT_EQ(versions.size(), 2u);
    EXPECT_EQ(versions[0]->language, 1033);
    EXPECT_EQ(versions[1]->language, 1041);
    const auto root = ParseVersionInfo(versions[0]->data, &error);
    ASSERT_TRUE(root) << error;
    ASSERT_NE(root->Child(u"StringFileInfo"), nullptr);
    const VersionNode* table = root->Child(u"StringFileInfo")->Child(u"041103A4");
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->children.size(), 2u);
    EXPECT_TRUE(table->Child(u"ProductName")->Text() == u"Vexelo");
    EXPECT_TRUE(table->Child(u"FileVersion")->Text() == u"0.1");
    const auto fixed = ReadFixedFileInfo(*root);
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->file_version_ms, 1u);
}

TEST_F(ReaderRobustness, EveryTruncatedFileIsRefused) {
    // The resource data ends the file, so no strict prefix holds all of it.
    for (std::size_t length = 0; length < pe_.bytes.size(); ++length) {
        std::string error;
        const auto image = ParsePe(std::span(pe_.bytes).first(length), &error);
        EXPECT_FALSE(image) << "accepted a file cut to " << length << " bytes";
        EXPECT_FALSE(error.empty());
    }
}

TEST_F(ReaderRobustness, BadOffsetsSizesAndCountsAreRefused) {
    const std::size_t root_entry = pe_.rsrc + 16; // first entry of the type directory
    const struct {
        const char* what;
        std::function<void(TestPe&)> damage;
        const char* error;
    } cases[] = {
        {"no MZ", [](TestPe& p) { p.bytes[0] = 'X'; }, "MZ"},
        {"PE header past the end", [](TestPe& p) { Put32(p.bytes, 0x3C, 0xFFFFFFF0); },
         "PE signature"},
        {"no PE signature", [](TestPe& p) { p.bytes[p.pe_header] = 'X'; }, "PE signature"},
        {"section count past the end", [](TestPe& p) { Put16(p.bytes, p.pe_header + 6, 0xFFFF); },
         "section table"},
        {"optional header too short for the subsystem",
         [](TestPe& p) { Put16(p.bytes, p.pe_header + 20, 60); }, "subsystem"},
        {"optional header size past the end",
         [](TestPe& p) { Put16(p.bytes, p.pe_header + 20, 0xFFFF); }, "optional header"},
        {"unknown optional header magic",
         [](TestPe& p) { Put16(p.bytes, p.pe_header + 24, 0x1234); }, "magic"},
        {"resources in no section", [](TestPe& p) { Put32(p.bytes, p.resource_dir_rva, 0x90000); },
         "in no section"},
        {"resources larger than their section",
         [](TestPe& p) { Put32(p.bytes, p.resource_dir_rva + 4, 0x100000); }, "runs past"},
        {"section data past the end of the file",
         [](TestPe& p) { Put32(p.bytes, p.section_header + 20, 0xFFFFFF00); },
         "resource directory: out of bounds"},
        {"entry count past the resources", [](TestPe& p) { Put16(p.bytes, p.rsrc + 14, 0xFFFF); },
         "resource directory entries: out of bounds"},
        {"subdirectory past the resources",
         [&](TestPe& p) { Put32(p.bytes, root_entry + 4, 0x8000FFF0); },
         "resource directory: out of bounds"},
        {"directory that contains itself",
         [&](TestPe& p) { Put32(p.bytes, root_entry + 4, 0x80000000); }, "too deep"},
        {"data where a directory belongs",
         [&](TestPe& p) { Put32(p.bytes, root_entry + 4, 0x00000000); }, "too shallow"},
        {"data larger than its section",
         [](TestPe& p) { Put32(p.bytes, p.first_data_entry + 4, 0xFFFFFFFF); }, "runs past"},
        {"data in no section", [](TestPe& p) { Put32(p.bytes, p.first_data_entry, 0x10); },
         "in no section"},
        {"name longer than the resources", [](TestPe& p) { Put16(p.bytes, p.first_name, 0xFFFF); },
         "resource name"},
    };
    for (const auto& c : cases) {
        TestPe damaged = pe_;
        c.damage(damaged);
        std::string error;
        EXPECT_FALSE(ParsePe(damaged.bytes, &error)) << c.what;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.what << ": " << error;
    }
}

TEST_F(ReaderRobustness, AnyDamagedByteEndsCleanly) {
    for (std::size_t at = 0; at < pe_.bytes.size(); ++at) {
        for (const std::uint8_t value : {0x00, 0x7F, 0x80, 0xFF}) {
            std::vector<std::uint8_t> damaged = pe_.bytes;
            damaged[at] = value;
            const auto image = ParsePe(damaged);
            if (!image) {
                continue;
            }
            const auto* begin = damaged.data();
            const auto* end = begin + damaged.size();
            for (const ResourceEntry& r : image->resources) {
                EXPECT_TRUE(r.data.empty() ||
                            (r.data.data() >= begin && r.data.data() + r.data.size() <= end))
                    << "byte " << at << " set to " << int{value};
                if (r.type == ResourceKey::Id(kRtVersion)) {
                    ParseVersionInfo(r.data);
                }
            }
        }
    }
}

TEST(VersionInfoRobustness, EveryTruncationIsRefused) {
    const auto data = SampleVersionInfo();
    for (std::size_t length = 0; length < data.size(); ++length) {
        EXPECT_FALSE(ParseVersionInfo(std::span(data).first(length)))
            << "accepted version information cut to " << length << " bytes";
    }
}

TEST(VersionInfoRobustness, BadLengthsAreRefused) {
    const auto sample = SampleVersionInfo();
    // The root's first child follows its header, key ("VS_VERSION_INFO", terminator, padding)
    // and fixed part.
    const std::size_t first_child = 6 + 34 + 52;
    const struct {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> damage;
        const char* error;
    } cases[] = {
        {"length zero", [](auto& d) { Put16(d, 0, 0); }, "length"},
        {"length past the data", [](auto& d) { Put16(d, 0, 0xFFFF); }, "length"},
        {"child shorter than its header", [&](auto& d) { Put16(d, first_child, 2); }, "length"},
        {"child longer than its parent", [&](auto& d) { Put16(d, first_child, 0x7FFF); }, "length"},
        {"value longer than its node", [](auto& d) { Put16(d, 2, 0x7FFF); }, "value"},
        {"key without its terminator",
         [](auto& d) {
             for (std::size_t i = 6; i < d.size(); ++i) {
                 d[i] = 'A';
             }
         },
         "key"},
    };
    for (const auto& c : cases) {
        auto damaged = sample;
        c.damage(damaged);
        std::string error;
        EXPECT_FALSE(ParseVersionInfo(damaged, &error)) << c.what;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.what << ": " << error;
    }
}

TEST(VersionInfoRobustness, DeepNestingIsRefused) {
    std::vector<std::uint8_t> node = BuildVersionString(u"k", u"v");
    for (int i = 0; i < 20; ++i) {
        node = BuildVersionNode(u"n", 1, {}, 0, {node});
    }
    std::string error;
    EXPECT_FALSE(ParseVersionInfo(node, &error));
    EXPECT_NE(error.find("deep"), std::string::npos) << error;
}

} // namespace
} // namespace vxtest
