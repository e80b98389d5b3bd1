// SPDX-License-Identifier: MIT
#include "XmlScan.h"

#include <algorithm>

namespace vxtest {
namespace {

constexpr std::string_view kSpace = " \t\r\n";

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(kSpace);
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(kSpace) - first + 1);
}

// Reads the attributes of a tag body ("name a='1' b=\"2\""), after the element name.
void ReadAttributes(std::string_view body, XmlElement& element) {
    std::size_t pos = 0;
    for (;;) {
        const auto name_start = body.find_first_not_of(kSpace, pos);
        if (name_start == std::string_view::npos) {
            return;
        }
        const auto eq = body.find('=', name_start);
        if (eq == std::string_view::npos) {
            return;
        }
        const auto quote = body.find_first_of("\"'", eq);
        if (quote == std::string_view::npos) {
            return;
        }
        const auto close = body.find(body[quote], quote + 1);
        if (close == std::string_view::npos) {
            return;
        }
        element.attributes[std::string(Trim(body.substr(name_start, eq - name_start)))] =
            std::string(body.substr(quote + 1, close - quote - 1));
        pos = close + 1;
    }
}

} // namespace

std::vector<XmlElement> ScanXmlElements(std::string_view xml) {
    std::vector<XmlElement> elements;
    std::size_t pos = 0;
    while ((pos = xml.find('<', pos)) != std::string_view::npos) {
        const std::string_view rest = xml.substr(pos);
        if (rest.starts_with("<!--")) {
            const auto end = xml.find("-->", pos);
            pos = end == std::string_view::npos ? xml.size() : end + 3;
            continue;
        }
        const auto end = xml.find('>', pos);
        if (end == std::string_view::npos) {
            break;
        }
        std::string_view body = xml.substr(pos + 1, end - pos - 1);
        pos = end + 1;
        if (body.empty() || body[0] == '/' || body[0] == '?' || body[0] == '!') {
            continue;
        }
        const bool empty_element = body.back() == '/';
        if (empty_element) {
            body.remove_suffix(1);
        }
        XmlElement element;
        const auto name_end = std::min(body.find_first_of(kSpace), body.size());
        element.name = std::string(body.substr(0, name_end));
        ReadAttributes(body.substr(name_end), element);
        if (!empty_element) {
            element.text = std::string(Trim(xml.substr(pos, xml.find('<', pos) - pos)));
        }
        elements.push_back(std::move(element));
    }
    return elements;
}

} // namespace vxtest
