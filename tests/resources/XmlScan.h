// SPDX-License-Identifier: MIT
// Just enough XML reading for checking a manifest: the start tags in document order, with
// their attributes and the text right after them. No entities, no validation.
#ifndef VX_TESTS_RESOURCES_XMLSCAN_H
#define VX_TESTS_RESOURCES_XMLSCAN_H

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vxtest {

struct XmlElement {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text; // up to the next tag, trimmed; empty for an empty-element tag
};

std::vector<XmlElement> ScanXmlElements(std::string_view xml);

} // namespace vxtest

#endif
