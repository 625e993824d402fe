#include "DistributionFamily.h"

#include <map>
#include <sstream>

#include "OsRelease.h"

namespace {

DistributionFamily FamilyOfId(const std::string& id) {
    static const std::map<std::string, DistributionFamily> kFamilies{
        {"debian", DistributionFamily::Debian}, {"ubuntu", DistributionFamily::Debian},
        {"fedora", DistributionFamily::Fedora}, {"rhel", DistributionFamily::Fedora},
        {"arch", DistributionFamily::Arch},     {"suse", DistributionFamily::Suse},
        {"opensuse", DistributionFamily::Suse}, {"sles", DistributionFamily::Suse}};
    const auto found = kFamilies.find(id);
    return found == kFamilies.end() ? DistributionFamily::Other : found->second;
}

}  // namespace

DistributionFamily FamilyFromOsRelease(const std::string& text) {
    const std::map<std::string, std::string> fields = OsReleaseFields(text);
    std::istringstream ids((fields.contains("ID") ? fields.at("ID") : "") + " " +
                           (fields.contains("ID_LIKE") ? fields.at("ID_LIKE") : ""));
    for (std::string id; ids >> id;) {
        if (const DistributionFamily family = FamilyOfId(id); family != DistributionFamily::Other) {
            return family;
        }
    }
    return DistributionFamily::Other;
}
