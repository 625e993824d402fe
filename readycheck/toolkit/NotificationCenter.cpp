#include "NotificationCenter.h"

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter sCenter;
    return sCenter;
}

void NotificationCenter::addObserver(const void* observer, Handler handler, std::string name,
                                     const void* object) {
    mRegistrations.emplace(mNext++,
                           Registration{observer, std::move(handler), std::move(name), object});
}

void NotificationCenter::removeObserver(const void* observer) {
    std::erase_if(mRegistrations,
                  [observer](const auto& entry) { return entry.second.observer == observer; });
}

void NotificationCenter::removeObserver(const void* observer, const std::string& name,
                                        const void* object) {
    std::erase_if(mRegistrations, [&](const auto& entry) {
        const Registration& registration = entry.second;
        return registration.observer == observer && registration.name == name &&
               (object == nullptr || registration.object == object);
    });
}

void NotificationCenter::postNotificationName(const std::string& name, const void* object,
                                              std::map<std::string, Data> userInfo) {
    const Notification notification{name, object, std::move(userInfo)};
    std::vector<uint64_t> matching;
    for (const auto& [id, registration] : mRegistrations) {
        if (registration.name == name &&
            (registration.object == nullptr || registration.object == object)) {
            matching.push_back(id);
        }
    }
    for (const uint64_t id : matching) {
        const auto found = mRegistrations.find(id);
        if (found != mRegistrations.end()) {
            // A copy: the handler may remove its own registration.
            const Handler handler = found->second.handler;
            handler(notification);
        }
    }
}
