#include "StringFormat.h"

std::string StringWithFormat(const std::string& format, const std::vector<std::string>& arguments) {
    std::string text;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == '@') {
                // A placeholder with no argument left shows nothing, as a nil object does.
                text += next < arguments.size() ? arguments[next++] : std::string();
                ++i;
                continue;
            }
            if (format[i + 1] == '%') {
                text += '%';
                ++i;
                continue;
            }
        }
        text += format[i];
    }
    return text;
}
