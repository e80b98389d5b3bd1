// SPDX-License-Identifier: MIT
// Reads the resources back out of a built 32-bit Orvalen.exe and checks what Windows will see:
// the image kind, the version information, the manifest and the application icon.
//
// The executable comes from the first argument or the environment variable VX_ORVALEN_EXE.
// Without either the tests are skipped; a path to a file that cannot be read is a failure.
#include "ByteReader.h"
#include "PeResources.h"
#include "VersionInfo.h"
#include "XmlScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

namespace vxtest {
namespace {

std::string g_exe_path;

constexpr std::uint16_t kEnglishUs = 1033;

class OrvalenResources : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (g_exe_path.empty()) {
            return;
        }
        file_ = ReadFileBytes(g_exe_path);
        image_ = ParsePe(file_, &error_);
    }

    void SetUp() override {
        if (g_exe_path.empty()) {
            GTEST_SKIP() << "No executable to read: pass the path of a built 32-bit Orvalen.exe "
                            "as the first argument or in VX_ORVALEN_EXE.";
        }
        ASSERT_FALSE(file_.empty()) << "cannot read " << g_exe_path;
        ASSERT_TRUE(image_) << g_exe_path << ": " << error_;
    }

    // The one resource of this type and name; the test fails if there is none or several
    // (one per language counts as several: Windows would pick one by the user's language).
    static const ResourceEntry* Only(const ResourceKey& type, const ResourceKey& name) {
        const auto found = FindResources(*image_, type, name);
        EXPECT_EQ(found.size(), 1u);
        return found.size() == 1 ? found[0] : nullptr;
    }

    static std::vector<XmlElement> ManifestElements() {
        const ResourceEntry* manifest = Only(ResourceKey::Id(kRtManifest), ResourceKey::Id(1));
        if (manifest == nullptr) {
            return {};
        }
        return ScanXmlElements(std::string_view(
            reinterpret_cast<const char*>(manifest->data.data()), manifest->data.size()));
    }

    static inline std::vector<std::uint8_t> file_;
    static inline std::optional<PeImage> image_;
    static inline std::string error_;
};

TEST_F(OrvalenResources, IsA32BitGuiExecutable) {
    EXPECT_EQ(image_->machine, 0x14C) << "i386";
    EXPECT_FALSE(image_->pe32_plus);
    EXPECT_EQ(image_->subsystem, 2) << "Windows GUI";
}

TEST_F(OrvalenResources, VersionInfoIsOneEnglishResource) {
    const auto all = FindResources(*image_, ResourceKey::Id(kRtVersion));
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0]->name, ResourceKey::Id(1));
    EXPECT_EQ(all[0]->language, kEnglishUs);
}

TEST_F(OrvalenResources, VersionInfoFixedPart) {
    const ResourceEntry* res = Only(ResourceKey::Id(kRtVersion), ResourceKey::Id(1));
    ASSERT_NE(res, nullptr);
    std::string error;
    const auto root = ParseVersionInfo(res->data, &error);
    ASSERT_TRUE(root) << error;
    EXPECT_EQ(root->key, u"VS_VERSION_INFO");
    const auto info = ReadFixedFileInfo(*root);
    ASSERT_TRUE(info);

    const struct {
        const char* field;
        std::uint32_t actual, expected;
    } cases[] = {
        {"file version, high", info->file_version_ms, 0x00000001}, // 0.1
        {"file version, low", info->file_version_ls, 0x0005000B},  // 5.11
        {"product version, high", info->product_version_ms, 0x00000001},
        {"product version, low", info->product_version_ls, 0x00050000},
        {"flags mask", info->file_flags_mask, 0x3F},
        {"flags", info->file_flags, 0},
        {"OS", info->file_os, 4},     // VOS__WINDOWS32
        {"type", info->file_type, 1}, // VFT_APP
        {"subtype", info->file_subtype, 0},
        {"date, high", info->file_date_ms, 0},
        {"date, low", info->file_date_ls, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.actual, c.expected) << c.field;
    }
}

TEST_F(OrvalenResources, VersionInfoStringsAndTranslation) {
    const ResourceEntry* res = Only(ResourceKey::Id(kRtVersion), ResourceKey::Id(1));
    ASSERT_NE(res, nullptr);
    const auto root = ParseVersionInfo(res->data);
    ASSERT_TRUE(root);

    const VersionNode* string_info = root->Child(u"StringFileInfo");
    ASSERT_NE(string_info, nullptr);
    ASSERT_EQ(string_info->children.size(), 1u) << "exactly one string table";
    const VersionNode* table = string_info->Child(u"041103A4");
    ASSERT_NE(table, nullptr) << "the string table must be Japanese, code page 932";

    const struct {
        std::u16string key, value;
    } strings[] = {
        {u"CompanyName", u"Vexelo Project"},
        {u"FileDescription", u"Vexelo"},
        {u"FileVersion", u"0.1.5.11"},
        {u"LegalCopyright", u"Copyright (C) 2026 Vexelo Project"},
        {u"ProgramID", u"org.vexelo.Vexelo"},
        {u"ProductName", u"Vexelo"},
        {u"ProductVersion", u"0.1.5"},
    };
    EXPECT_EQ(table->children.size(), std::size(strings));
    for (const auto& s : strings) {
        const VersionNode* node = table->Child(s.key);
        ASSERT_NE(node, nullptr) << std::string(s.key.begin(), s.key.end());
        EXPECT_EQ(node->type, 1) << "text value";
        EXPECT_TRUE(node->Text() == s.value) << std::string(s.key.begin(), s.key.end());
    }

    const VersionNode* var_info = root->Child(u"VarFileInfo");
    ASSERT_NE(var_info, nullptr);
    const VersionNode* translation = var_info->Child(u"Translation");
    ASSERT_NE(translation, nullptr);
    // Language 0x0411 (Japanese), code page 0x03A4 (932), as two little-endian words.
    const std::vector<std::uint8_t> expected{0x11, 0x04, 0xA4, 0x03};
    EXPECT_EQ(std::vector<std::uint8_t>(translation->value.begin(), translation->value.end()),
              expected);
}

TEST_F(OrvalenResources, ManifestIsOneEnglishResourceWithId1) {
    const auto all = FindResources(*image_, ResourceKey::Id(kRtManifest));
    ASSERT_EQ(all.size(), 1u) << "a second manifest (e.g. a toolchain default) got linked in";
    EXPECT_EQ(all[0]->name, ResourceKey::Id(1));
    EXPECT_EQ(all[0]->language, kEnglishUs);
}

TEST_F(OrvalenResources, ManifestSettings) {
    const auto elements = ManifestElements();
    const auto find = [&](std::string_view name, std::string_view attr = {},
                          std::string_view value = {}) -> const XmlElement* {
        for (const XmlElement& e : elements) {
            if (e.name != name) {
                continue;
            }
            const auto it = e.attributes.find(std::string(attr));
            if (attr.empty() || (it != e.attributes.end() && it->second == value)) {
                return &e;
            }
        }
        return nullptr;
    };
    const auto attr = [](const XmlElement* e, const std::string& name) {
        const auto it = e->attributes.find(name);
        return it == e->attributes.end() ? std::string("<absent>") : it->second;
    };

    const XmlElement* dpi_aware = find("dpiAware");
    ASSERT_NE(dpi_aware, nullptr);
    EXPECT_EQ(dpi_aware->text, "true/pm");
    EXPECT_EQ(attr(dpi_aware, "xmlns"), "http://schemas.microsoft.com/SMI/2005/WindowsSettings");
    const XmlElement* dpi_awareness = find("dpiAwareness");
    ASSERT_NE(dpi_awareness, nullptr);
    EXPECT_EQ(dpi_awareness->text, "PerMonitorV2");
    EXPECT_EQ(attr(dpi_awareness, "xmlns"),
              "http://schemas.microsoft.com/SMI/2016/WindowsSettings");

    const XmlElement* controls =
        find("assemblyIdentity", "name", "Microsoft.Windows.Common-Controls");
    ASSERT_NE(controls, nullptr);
    EXPECT_EQ(attr(controls, "type"), "win32");
    EXPECT_EQ(attr(controls, "version"), "6.0.0.0");
    EXPECT_EQ(attr(controls, "processorArchitecture"), "*");
    EXPECT_EQ(attr(controls, "language"), "*");
    EXPECT_EQ(attr(controls, "publicKeyToken"), "6595b64144ccf1df");

    const XmlElement* level = find("requestedExecutionLevel");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(attr(level, "level"), "asInvoker");
    EXPECT_EQ(attr(level, "uiAccess"), "false");

    std::set<std::string> os_ids;
    for (const XmlElement& e : elements) {
        if (e.name == "supportedOS") {
            std::string id = attr(&e, "Id");
            std::transform(id.begin(), id.end(), id.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            os_ids.insert(id);
        }
    }
    const std::set<std::string> expected_ids{
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}", // Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // 10
    };
    EXPECT_EQ(os_ids, expected_ids);
}

// The 32 x 32 image that MAINICON refers to, as a DIB: header, BGRA rows, then the AND mask.
class MainIcon : public OrvalenResources {
protected:
    void SetUp() override {
        OrvalenResources::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        const ResourceEntry* group =
            Only(ResourceKey::Id(kRtGroupIcon), ResourceKey::Name(u"MAINICON"));
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->language, kEnglishUs);
        const ByteReader dir(group->data);
        // GRPICONDIR: reserved, type 1 (icon), count; then 14-byte entries.
        ASSERT_EQ(dir.size(), 6u + 14u) << "one image";
        EXPECT_EQ(dir.U16(0, ""), 0);
        EXPECT_EQ(dir.U16(2, ""), 1);
        ASSERT_EQ(dir.U16(4, ""), 1);
        EXPECT_EQ(dir.U8(6, ""), 32) << "width";
        EXPECT_EQ(dir.U8(7, ""), 32) << "height";
        EXPECT_EQ(dir.U8(8, ""), 0) << "no palette";
        EXPECT_EQ(dir.U16(10, ""), 1) << "planes";
        EXPECT_EQ(dir.U16(12, ""), 32) << "bits per pixel";
        const std::uint32_t bytes_in_res = dir.U32(14, "");
        const std::uint16_t icon_id = dir.U16(18, "");

        const ResourceEntry* icon = Only(ResourceKey::Id(kRtIcon), ResourceKey::Id(icon_id));
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon->language, kEnglishUs);
        EXPECT_EQ(icon->data.size(), bytes_in_res);
        image_data_ = icon->data;
    }

    static constexpr std::size_t kHeader = 40;
    static constexpr std::size_t kPixels = std::size_t{32} * 32;
    static constexpr std::size_t kMaskStride = 4;
    std::span<const std::uint8_t> image_data_;
};

TEST_F(MainIcon, IsA32By32DibWith32BitsAndAMask) {
    const ByteReader dib(image_data_);
    ASSERT_GE(dib.size(), kHeader);
    EXPECT_EQ(dib.U32(0, ""), kHeader) << "BITMAPINFOHEADER";
    EXPECT_EQ(dib.U32(4, ""), 32u) << "width";
    EXPECT_EQ(dib.U32(8, ""), 64u) << "height counts image and mask";
    EXPECT_EQ(dib.U16(12, ""), 1) << "planes";
    EXPECT_EQ(dib.U16(14, ""), 32) << "bits per pixel";
    EXPECT_EQ(dib.U32(16, ""), 0u) << "BI_RGB";
    EXPECT_EQ(dib.size(), kHeader + kPixels * 4 + kMaskStride * 32);
}

TEST_F(MainIcon, AlphaIsAntialiasedAndTheMaskAgrees) {
    ASSERT_EQ(image_data_.size(), kHeader + kPixels * 4 + kMaskStride * 32);
    std::size_t clear = 0, opaque = 0, partial = 0;
    for (std::size_t i = 0; i < kPixels; ++i) {
        const std::uint8_t alpha = image_data_[kHeader + i * 4 + 3];
        const std::size_t row = i / 32, column = i % 32;
        const bool masked = (image_data_[kHeader + kPixels * 4 + row * kMaskStride + column / 8] &
                             (0x80 >> (column % 8))) != 0;
        if (alpha == 0) {
            ++clear;
            EXPECT_TRUE(masked) << "transparent pixel " << column << "," << row << " not masked";
        } else if (alpha == 255) {
            ++opaque;
            EXPECT_FALSE(masked) << "opaque pixel " << column << "," << row << " masked";
        } else {
            ++partial;
        }
    }
    EXPECT_GT(clear, 0u) << "the icon has a transparent background";
    EXPECT_GT(opaque, 0u);
    EXPECT_GT(partial, 0u) << "edges are antialiased";
}

} // namespace
} // namespace vxtest

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) {
        vxtest::g_exe_path = argv[1];
    } else if (const char* env = std::getenv("VX_ORVALEN_EXE")) {
        vxtest::g_exe_path = env;
    }
    return RUN_ALL_TESTS();
}
