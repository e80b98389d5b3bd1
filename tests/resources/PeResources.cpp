// SPDX-License-Identifier: MIT
#include "PeResources.h"

#include "ByteReader.h"

#include <fstream>
#include <iterator>

namespace vxtest {
namespace {

constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
// A corrupt tree can share directories between entries and so multiply the work; no real
// executable comes near these.
constexpr std::size_t kMaxResources = 65536;
constexpr std::size_t kMaxEntriesVisited = 1 << 20;

struct Section {
    std::uint32_t virtual_address = 0;
    std::uint32_t raw_size = 0;
    std::uint32_t raw_offset = 0;
};

class Parser {
public:
    explicit Parser(std::span<const std::uint8_t> file) : file_(file) {}

    PeImage Parse() {
        if (file_.U16(0, "DOS header") != 0x5A4D) {
            throw ParseError("no MZ signature");
        }
        const std::uint64_t pe = file_.U32(0x3C, "PE header offset");
        if (file_.U32(pe, "PE signature") != 0x00004550) {
            throw ParseError("no PE signature");
        }
        const std::uint64_t coff = pe + 4;
        PeImage image;
        image.machine = file_.U16(coff, "COFF header");
        const std::uint16_t section_count = file_.U16(coff + 2, "COFF header");
        const std::uint16_t optional_size = file_.U16(coff + 16, "COFF header");
        const std::uint64_t optional = coff + 20;
        const ByteReader opt(file_.Bytes(optional, optional_size, "optional header"));

        const std::uint16_t magic = opt.U16(0, "optional header magic");
        if (magic != 0x10B && magic != 0x20B) {
            throw ParseError("unknown optional header magic");
        }
        image.pe32_plus = magic == 0x20B;
        image.subsystem = opt.U16(68, "subsystem");
        const std::uint64_t dir_count_at = image.pe32_plus ? 108 : 92;
        const std::uint32_t dir_count = opt.U32(dir_count_at, "data directory count");

        ReadSections(optional + optional_size, section_count);
        if (dir_count > kResourceDirectoryIndex) {
            const std::uint64_t entry =
                dir_count_at + 4 + std::uint64_t{8} * kResourceDirectoryIndex;
            const std::uint32_t rva = opt.U32(entry, "resource directory entry");
            const std::uint32_t size = opt.U32(entry + 4, "resource directory entry");
            if (rva != 0 || size != 0) {
                rsrc_ = ByteReader(MapRva(rva, size, "resource directory"));
                ReadDirectory(0, 0, {}, {}, image.resources);
            }
        }
        return image;
    }

private:
    void ReadSections(std::uint64_t table, std::uint16_t count) {
        file_.Bytes(table, std::uint64_t{count} * kSectionHeaderSize, "section table");
        for (std::uint16_t i = 0; i < count; ++i) {
            const std::uint64_t at = table + std::uint64_t{i} * kSectionHeaderSize;
            sections_.push_back({file_.U32(at + 12, "section header"),
                                 file_.U32(at + 16, "section header"),
                                 file_.U32(at + 20, "section header")});
        }
    }

    // The file bytes of `size` bytes at a relative virtual address, wholly inside the raw data
    // of one section and of the file.
    std::span<const std::uint8_t> MapRva(std::uint32_t rva, std::uint32_t size,
                                         const char* what) const {
        for (const Section& s : sections_) {
            if (rva < s.virtual_address) {
                continue;
            }
            const std::uint64_t delta = rva - s.virtual_address;
            if (delta < s.raw_size) {
                if (std::uint64_t{size} > s.raw_size - delta) {
                    throw ParseError(std::string(what) + " runs past its section");
                }
                return file_.Bytes(s.raw_offset + delta, size, what);
            }
        }
        throw ParseError(std::string(what) + " is in no section");
    }

    ResourceKey ReadKey(std::uint32_t raw) const {
        if ((raw & kHighBit) == 0) {
            if (raw > 0xFFFF) {
                throw ParseError("resource id out of range");
            }
            return ResourceKey::Id(static_cast<std::uint16_t>(raw));
        }
        const std::uint64_t at = raw & ~kHighBit;
        const std::uint16_t length = rsrc_.U16(at, "resource name");
        const auto chars = rsrc_.Bytes(at + 2, std::uint64_t{length} * 2, "resource name");
        std::u16string name;
        for (std::size_t i = 0; i < chars.size(); i += 2) {
            name.push_back(static_cast<char16_t>(chars[i] | (chars[i + 1] << 8)));
        }
        return ResourceKey::Name(std::move(name));
    }

    // Level 0 holds types, level 1 names, level 2 languages whose entries lead to data.
    void ReadDirectory(std::uint64_t at, int level, const ResourceKey& type,
                       const ResourceKey& name, std::vector<ResourceEntry>& out) {
        const std::uint32_t count = std::uint32_t{rsrc_.U16(at + 12, "resource directory")} +
                                    rsrc_.U16(at + 14, "resource directory");
        rsrc_.Bytes(at + 16, std::uint64_t{count} * 8, "resource directory entries");
        for (std::uint32_t i = 0; i < count; ++i) {
            if (++visited_ > kMaxEntriesVisited) {
                throw ParseError("resource tree too large");
            }
            const std::uint64_t entry = at + 16 + std::uint64_t{i} * 8;
            const std::uint32_t key = rsrc_.U32(entry, "resource entry");
            const std::uint32_t target = rsrc_.U32(entry + 4, "resource entry");
            const bool is_directory = (target & kHighBit) != 0;
            if (is_directory != (level < 2)) {
                throw ParseError(level < 2 ? "resource tree too shallow"
                                           : "resource tree too deep");
            }
            const std::uint64_t child = target & ~kHighBit;
            if (level == 0) {
                ReadDirectory(child, 1, ReadKey(key), {}, out);
            } else if (level == 1) {
                ReadDirectory(child, 2, type, ReadKey(key), out);
            } else {
                if ((key & kHighBit) != 0 || key > 0xFFFF) {
                    throw ParseError("resource language is not a number");
                }
                if (out.size() >= kMaxResources) {
                    throw ParseError("too many resources");
                }
                const std::uint32_t rva = rsrc_.U32(child, "resource data entry");
                const std::uint32_t size = rsrc_.U32(child + 4, "resource data entry");
                out.push_back({type, name, static_cast<std::uint16_t>(key),
                               rsrc_.U32(child + 8, "resource data entry"),
                               MapRva(rva, size, "resource data")});
            }
        }
    }

    ByteReader file_;
    ByteReader rsrc_{{}};
    std::vector<Section> sections_;
    std::size_t visited_ = 0;
};

} // namespace

std::optional<PeImage> ParsePe(std::span<const std::uint8_t> file, std::string* error) {
    try {
        return Parser(file).Parse();
    } catch (const ParseError& e) {
        if (error != nullptr) {
            *error = e.what();
        }
        return std::nullopt;
    }
}

std::vector<const ResourceEntry*> FindResources(const PeImage& image, const ResourceKey& type,
                                                const std::optional<ResourceKey>& name) {
    std::vector<const ResourceEntry*> found;
    for (const ResourceEntry& r : image.resources) {
        if (r.type == type && (!name || r.name == *name)) {
            found.push_back(&r);
        }
    }
    return found;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace vxtest
