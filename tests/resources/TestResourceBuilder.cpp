// SPDX-License-Identifier: MIT
#include "TestResourceBuilder.h"

#include <algorithm>

namespace vxtest {
namespace {

constexpr std::size_t kPeHeader = 0x40;
constexpr std::size_t kOptionalHeader = kPeHeader + 4 + 20;
constexpr std::size_t kOptionalSize = 224; // PE32 with 16 data directories
constexpr std::size_t kSectionTable = kOptionalHeader + kOptionalSize;
constexpr std::size_t kRsrcFileOffset = 0x200;
constexpr std::uint32_t kRsrcRva = 0x1000;
constexpr std::uint32_t kHighBit = 0x80000000u;

void Align(std::vector<std::uint8_t>& out, std::size_t alignment) {
    out.resize((out.size() + alignment - 1) / alignment * alignment, 0);
}

std::size_t Reserve(std::vector<std::uint8_t>& out, std::size_t size) {
    const std::size_t at = out.size();
    out.resize(at + size, 0);
    return at;
}

struct Language {
    std::uint16_t id;
    const std::vector<std::uint8_t>* data;
};
struct Name {
    ResourceKey key;
    std::vector<Language> languages;
};
struct Type {
    ResourceKey key;
    std::vector<Name> names;
};

template <typename T> T& FindOrAdd(std::vector<T>& items, const ResourceKey& key) {
    auto it = std::find_if(items.begin(), items.end(), [&](const T& t) { return t.key == key; });
    if (it != items.end()) {
        return *it;
    }
    items.push_back(T{key, {}});
    return items.back();
}

// Lays out the resource section: directories first, then name strings, then the data.
class RsrcWriter {
public:
    std::vector<std::uint8_t> out;
    std::size_t first_data_entry = 0;
    std::size_t first_name = 0;

    void Write(std::vector<Type> types) {
        WriteDirectory(types, [&](const Type& type) { return WriteNames(type); });
        Align(out, 4);
        for (std::size_t i = 0; i < name_patches_.size(); ++i) {
            const auto& [entry, name] = name_patches_[i];
            const std::size_t at = out.size();
            if (i == 0) {
                first_name = at;
            }
            Put16(out, Reserve(out, 2), static_cast<std::uint16_t>(name.size()));
            for (char16_t c : name) {
                Put16(out, Reserve(out, 2), c);
            }
            Put32(out, entry, kHighBit | static_cast<std::uint32_t>(at));
        }
        for (const auto& [entry, data] : data_patches_) {
            Align(out, 4);
            const std::size_t at = out.size();
            out.insert(out.end(), data->begin(), data->end());
            Put32(out, entry, kRsrcRva + static_cast<std::uint32_t>(at));
            Put32(out, entry + 4, static_cast<std::uint32_t>(data->size()));
        }
    }

private:
    template <typename Item, typename WriteChild>
    std::size_t WriteDirectory(std::vector<Item>& items, WriteChild write_child) {
        // Named entries come before numbered ones.
        std::stable_partition(items.begin(), items.end(),
                              [](const Item& i) { return KeyOf(i).is_name; });
        const auto named = std::count_if(items.begin(), items.end(),
                                         [](const Item& i) { return KeyOf(i).is_name; });
        const std::size_t dir = Reserve(out, 16 + 8 * items.size());
        Put16(out, dir + 12, static_cast<std::uint16_t>(named));
        Put16(out, dir + 14, static_cast<std::uint16_t>(items.size() - named));
        for (std::size_t i = 0; i < items.size(); ++i) {
            const std::size_t entry = dir + 16 + 8 * i;
            const ResourceKey& key = KeyOf(items[i]);
            if (key.is_name) {
                name_patches_.emplace_back(entry, key.name);
            } else {
                Put32(out, entry, key.id);
            }
            Put32(out, entry + 4, write_child(items[i]));
        }
        return dir;
    }

    std::uint32_t WriteNames(const Type& type) {
        std::vector<Name> names = type.names;
        return kHighBit | static_cast<std::uint32_t>(WriteDirectory(
                              names, [&](const Name& n) { return WriteLanguages(n); }));
    }

    std::uint32_t WriteLanguages(const Name& name) {
        std::vector<Language> languages = name.languages;
        return kHighBit |
               static_cast<std::uint32_t>(WriteDirectory(languages, [&](const Language& l) {
                   const std::size_t entry = Reserve(out, 16);
                   if (data_patches_.empty()) {
                       first_data_entry = entry;
                   }
                   data_patches_.emplace_back(entry, l.data);
                   return static_cast<std::uint32_t>(entry);
               }));
    }

    static const ResourceKey& KeyOf(const Type& t) { return t.key; }
    static const ResourceKey& KeyOf(const Name& n) { return n.key; }
    static ResourceKey KeyOf(const Language& l) { return ResourceKey::Id(l.id); }

    std::vector<std::pair<std::size_t, std::u16string>> name_patches_;
    std::vector<std::pair<std::size_t, const std::vector<std::uint8_t>*>> data_patches_;
};

} // namespace

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint16_t v) {
    out.at(at) = static_cast<std::uint8_t>(v & 0xFF);
    out.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    Put16(out, at, static_cast<std::uint16_t>(v & 0xFFFF));
    Put16(out, at + 2, static_cast<std::uint16_t>(v >> 16));
}

TestPe BuildTestPe(const std::vector<TestResource>& resources) {
    std::vector<Type> types;
    for (const TestResource& r : resources) {
        Name& name = FindOrAdd(FindOrAdd(types, r.type).names, r.name);
        name.languages.push_back({r.language, &r.data});
    }
    RsrcWriter rsrc;
    rsrc.Write(types);
    const auto rsrc_size = static_cast<std::uint32_t>(rsrc.out.size());

    TestPe pe;
    std::vector<std::uint8_t>& b = pe.bytes;
    b.resize(kRsrcFileOffset, 0);
    Put16(b, 0, 0x5A4D); // "MZ"
    Put32(b, 0x3C, kPeHeader);
    Put32(b, kPeHeader, 0x00004550); // "PE\0\0"
    Put16(b, kPeHeader + 4, 0x14C);  // i386
    Put16(b, kPeHeader + 6, 1);      // one section
    Put16(b, kPeHeader + 20, kOptionalSize);
    Put16(b, kPeHeader + 22, 0x0102);  // executable, 32-bit
    Put16(b, kOptionalHeader, 0x10B);  // PE32
    Put16(b, kOptionalHeader + 68, 2); // GUI
    Put32(b, kOptionalHeader + 92, 16);
    pe.resource_dir_rva = kOptionalHeader + 96 + std::size_t{8} * 2;
    Put32(b, pe.resource_dir_rva, kRsrcRva);
    Put32(b, pe.resource_dir_rva + 4, rsrc_size);
    pe.section_header = kSectionTable;
    for (std::size_t i = 0; i < 5; ++i) {
        b[kSectionTable + i] = static_cast<std::uint8_t>(".rsrc"[i]);
    }
    Put32(b, kSectionTable + 8, rsrc_size);
    Put32(b, kSectionTable + 12, kRsrcRva);
    Put32(b, kSectionTable + 16, rsrc_size);
    Put32(b, kSectionTable + 20, kRsrcFileOffset);
    Put32(b, kSectionTable + 36, 0x40000040); // initialised data, readable
    b.insert(b.end(), rsrc.out.begin(), rsrc.out.end());

    pe.pe_header = kPeHeader;
    pe.rsrc = kRsrcFileOffset;
    pe.first_data_entry = kRsrcFileOffset + rsrc.first_data_entry;
    pe.first_name = kRsrcFileOffset + rsrc.first_name;
    return pe;
}

std::vector<std::uint8_t> BuildVersionNode(const std::u16string& key, std::uint16_t type,
                                           const std::vector<std::uint8_t>& value,
                                           std::uint16_t value_length,
                                           const std::vector<std::vector<std::uint8_t>>& children) {
    std::vector<std::uint8_t> out(6, 0);
    Put16(out, 2, value_length);
    Put16(out, 4, type);
    for (char16_t c : key) {
        Put16(out, Reserve(out, 2), c);
    }
    Reserve(out, 2);
    Align(out, 4);
    out.insert(out.end(), value.begin(), value.end());
    for (const auto& child : children) {
        Align(out, 4);
        out.insert(out.end(), child.begin(), child.end());
    }
    Put16(out, 0, static_cast<std::uint16_t>(out.size()));
    return out;
}

std::vector<std::uint8_t> BuildVersionString(const std::u16string& key,
                                             const std::u16string& text) {
    std::vector<std::uint8_t> value;
    for (char16_t c : text) {
        Put16(value, Reserve(value, 2), c);
    }
    Reserve(value, 2);
    return BuildVersionNode(key, 1, value, static_cast<std::uint16_t>(text.size() + 1), {});
}

} // namespace vxtest
