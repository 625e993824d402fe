// One list of the facts' fields, which every presentation walks: the report, the JSON and the
// accessible names. Each field has its fixed name, the JSON's, never translated; the lists run in
// the JSON's order. A member added to the facts fails to compile (FactFields.cpp) until it is
// listed here, and each presentation's switch over a list then names it too.
#pragma once

// The program and the system it runs on.
enum class SystemField { Version, OperatingSystem, Kernel, DisplaySystem };

// One probe of a graphics card.
enum class CardField {
    Manufacturer,
    Renderer,
    DriverVersion,
    VideoMemoryBytes,
    VideoMemoryKind,
    Rendering,
    RenderingSource,
    FeatureMask,
};

// The card's assessment: the checks, then the editions.
enum class AssessmentField { Offscreen, Shadows, Lighting, AntiAliasing, Basic, Advanced, Duo };

// Why the result is not ready, the display profiler's run and devices, and the other graphics
// cards.
enum class MachineField { Causes, DisplayProfiler, DisplayControllers, OtherCards };

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
enum class OtherCardField { Name, Variables, DesktopMenu, Status, Reason, Detail, Causes };

// One cause: its fixed identifier, the evidence by name, what was found in a sentence and what to
// do.
enum class CauseField { Id, Evidence, Found, Advice };

template <typename Field>
struct FieldName {
    Field field;
    const char* name;
    const char* group = nullptr;  // the JSON object that holds it, where it is one of a group
};

inline constexpr FieldName<SystemField> kSystemFields[] = {
    {SystemField::Version, "version"},
    {SystemField::OperatingSystem, "operating_system"},
    {SystemField::Kernel, "kernel"},
    {SystemField::DisplaySystem, "display_system"},
};

inline constexpr FieldName<CardField> kCardFields[] = {
    {CardField::Manufacturer, "manufacturer"},
    {CardField::Renderer, "renderer"},
    {CardField::DriverVersion, "driver_version"},
    {CardField::VideoMemoryBytes, "video_memory_bytes"},
    {CardField::VideoMemoryKind, "video_memory_kind"},
    {CardField::Rendering, "rendering"},
    {CardField::RenderingSource, "rendering_source"},
    {CardField::FeatureMask, "feature_mask"},
};

// After the card's fields, each group in an object of the group's name.
inline constexpr FieldName<AssessmentField> kAssessmentFields[] = {
    {AssessmentField::Offscreen, "offscreen", "checks"},
    {AssessmentField::Shadows, "shadows", "checks"},
    {AssessmentField::Lighting, "lighting", "checks"},
    {AssessmentField::AntiAliasing, "anti_aliasing", "checks"},
    {AssessmentField::Basic, "basic", "editions"},
    {AssessmentField::Advanced, "advanced", "editions"},
    {AssessmentField::Duo, "duo", "editions"},
};

inline constexpr FieldName<MachineField> kMachineFields[] = {
    {MachineField::Causes, "causes"},
    {MachineField::DisplayProfiler, "display_profiler"},
    {MachineField::DisplayControllers, "display_controllers"},
    {MachineField::OtherCards, "other_cards"},
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
    {OtherCardField::Variables, "environment"},
    {OtherCardField::DesktopMenu, "desktop_menu"},
    {OtherCardField::Status, "status"},
    {OtherCardField::Reason, "reason"},
    {OtherCardField::Detail, "detail"},
    {OtherCardField::Causes, "causes"},
};

inline constexpr FieldName<CauseField> kCauseFields[] = {
    {CauseField::Id, "id"},
    {CauseField::Evidence, "evidence"},
    {CauseField::Found, "found"},
    {CauseField::Advice, "advice"},
};

// The card field's fixed name.
const char* FieldNameOf(CardField field);
