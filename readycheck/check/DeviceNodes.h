// /dev/dri as this process sees it: which nodes there are, their modes and groups, and whether
// this process may open them.
#pragma once

#include <string>
#include <vector>

struct DeviceNode {
    std::string name;        // "renderD128"
    unsigned mode = 0;       // the permission bits, 0660
    std::string group;       // the owning group's name, else its number
    bool permitted = false;  // this process may open it for reading and writing
    bool operator==(const DeviceNode&) const = default;
};

struct DriNodes {
    bool folderExists = false;
    std::vector<DeviceNode> nodes;  // by name
    bool operator==(const DriNodes&) const = default;

    // The node of that name; null when there is none.
    const DeviceNode* find(const std::string& name) const;
};

// The live machine's nodes under root/dev/dri, through stat() and access(2), their groups named
// by root/etc/group (the name service is not asked: it may reach the network).
DriNodes InspectDriNodes(const std::string& root);

// A recorded machine's manifest: one "NAME MODE GROUP yes|no" line a node ("renderD128 0660
// render no"), "#" starting a comment.
DriNodes DriNodesFromManifest(const std::string& text);

// "0660".
std::string ModeText(unsigned mode);
