#include "platform/file_filter.h"

#include <vector>

namespace vn {

std::u16string FileDialogFilterList(const std::u16string& filter) {
    std::vector<std::u16string> parts;
    std::u16string::size_type start = 0;
    while (start <= filter.size() && !filter.empty()) {
        auto bar = filter.find(u'|', start);
        if (bar == std::u16string::npos) bar = filter.size();
        parts.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    std::u16string list;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i + 1].empty()) continue;  // an empty pattern would end the list early
        list += parts[i];
        list.push_back(u'\0');
        list += parts[i + 1];
        list.push_back(u'\0');
    }
    list.push_back(u'\0');
    if (list.size() == 1) list.push_back(u'\0');  // an empty list is still two NULs
    return list;
}

} // namespace vn
