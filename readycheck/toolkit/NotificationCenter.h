// An in-process notification center: observers register for a name and an object (null: any
// object); posting delivers synchronously, in registration order.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ByteBuffer.h"

struct Notification {
    std::string name;
    const void* object = nullptr;
    std::map<std::string, Data> userInfo;
};

class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    // The center keeps no reference to the observer, which only identifies the registration.
    void addObserver(const void* observer, Handler handler, std::string name, const void* object);
    // Every registration of the observer.
    void removeObserver(const void* observer);
    // Its registrations for the name whose object is object; a null object matches every object.
    void removeObserver(const void* observer, const std::string& name, const void* object);

    // A registration removed while the notification is delivered gets nothing more.
    void postNotificationName(const std::string& name, const void* object,
                              std::map<std::string, Data> userInfo = {});

private:
    struct Registration {
        const void* observer;
        Handler handler;
        std::string name;
        const void* object;
    };
    std::map<uint64_t, Registration> mRegistrations;
    uint64_t mNext = 1;
};
