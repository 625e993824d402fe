// One list of the facts' fields, which every presentation walks: the report, the JSON and the
// accessible names. Each field has its fixed name, the JSON's, never translated; the lists run in
// the JSON's order. A member added to the facts fails to compile (FactFields.cpp) until it is
// listed here, and each presentation's switch over the fields then names it too.
#pragma once

enum class FactField {
    // The program and the system it runs on.
    Version,
    OperatingSystem,
    Kernel,
    DisplaySystem,
    // One probe of a graphics card.
    Manufacturer,
    Renderer,
    DriverVersion,
    VideoMemoryBytes,
    VideoMemoryKind,
    Rendering,
    RenderingSource,
    FeatureMask,
    // Its assessment: the checks, then the editions.
    Offscreen,
    Shadows,
    Lighting,
    AntiAliasing,
    Basic,
    Advanced,
    Duo,
    // The display profiler's run and devices, and the other graphics cards.
    DisplayProfiler,
    DisplayControllers,
    OtherCards,
};

// The display profiler's run.
enum class ProfilerField { Status, Detail };

// One display controller as the profiler lists it.
enum class ControllerField {
    Name,
    Vendor,
    VendorId,
    DeviceId,
    PciAddress,
    Driver,
    Memory,
    DrivesScreen,
};

// Another graphics card, before the fields of its own probe.
enum class OtherCardField { Name, Environment, DesktopMenu, Status, Reason, Detail };

template <typename Field>
struct FieldName {
    Field field;
    const char* name;
    const char* group = nullptr;  // the JSON object that holds it, where it is one of a group
};

inline constexpr FieldName<FactField> kSystemFields[] = {
    {FactField::Version, "version"},
    {FactField::OperatingSystem, "operating_system"},
    {FactField::Kernel, "kernel"},
    {FactField::DisplaySystem, "display_system"},
};

inline constexpr FieldName<FactField> kCardFields[] = {
    {FactField::Manufacturer, "manufacturer"},
    {FactField::Renderer, "renderer"},
    {FactField::DriverVersion, "driver_version"},
    {FactField::VideoMemoryBytes, "video_memory_bytes"},
    {FactField::VideoMemoryKind, "video_memory_kind"},
    {FactField::Rendering, "rendering"},
    {FactField::RenderingSource, "rendering_source"},
    {FactField::FeatureMask, "feature_mask"},
    {FactField::Offscreen, "offscreen", "checks"},
    {FactField::Shadows, "shadows", "checks"},
    {FactField::Lighting, "lighting", "checks"},
    {FactField::AntiAliasing, "anti_aliasing", "checks"},
    {FactField::Basic, "basic", "editions"},
    {FactField::Advanced, "advanced", "editions"},
    {FactField::Duo, "duo", "editions"},
};

inline constexpr FieldName<FactField> kMachineFields[] = {
    {FactField::DisplayProfiler, "display_profiler"},
    {FactField::DisplayControllers, "display_controllers"},
    {FactField::OtherCards, "other_cards"},
};

inline constexpr FieldName<ProfilerField> kProfilerFields[] = {
    {ProfilerField::Status, "status"},
    {ProfilerField::Detail, "detail"},
};

inline constexpr FieldName<ControllerField> kControllerFields[] = {
    {ControllerField::Name, "name"},
    {ControllerField::Vendor, "vendor"},
    {ControllerField::VendorId, "vendor_id"},
    {ControllerField::DeviceId, "device_id"},
    {ControllerField::PciAddress, "pci_address"},
    {ControllerField::Driver, "driver"},
    {ControllerField::Memory, "memory"},
    {ControllerField::DrivesScreen, "drives_screen"},
};

inline constexpr FieldName<OtherCardField> kOtherCardFields[] = {
    {OtherCardField::Name, "name"},
    {OtherCardField::Environment, "environment"},
    {OtherCardField::DesktopMenu, "desktop_menu"},
    {OtherCardField::Status, "status"},
    {OtherCardField::Reason, "reason"},
    {OtherCardField::Detail, "detail"},
};

// The field's fixed name.
const char* FieldNameOf(FactField field);
