#include "FactsJson.h"

#include <json-glib/json-glib.h>

#include <memory>

namespace {

constexpr const char* kSharedVRAM = "spdisplays_integrated_vram";

struct ObjectReleaser {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectOwner = std::unique_ptr<T, ObjectReleaser>;

void Member(JsonBuilder* builder, const char* name) {
    json_builder_set_member_name(builder, name);
}

void String(JsonBuilder* builder, const char* name, const std::optional<std::string>& value) {
    Member(builder, name);
    if (value) {
        json_builder_add_string_value(builder, value->c_str());
    } else {
        json_builder_add_null_value(builder);
    }
}

void Boolean(JsonBuilder* builder, const char* name, bool value) {
    Member(builder, name);
    json_builder_add_boolean_value(builder, value ? TRUE : FALSE);
}

std::optional<std::string> NonEmpty(const std::string& text) {
    return text.empty() ? std::nullopt : std::optional(text);
}

const char* DisplaySystemName(DisplaySystem system) {
    switch (system) {
        case DisplaySystem::X11:
            return "x11";
        case DisplaySystem::X11UnderWayland:
            return "xwayland";
        case DisplaySystem::Wayland:
            return "wayland";
        case DisplaySystem::NoDisplay:
            return "none";
        case DisplaySystem::Other:
            break;
    }
    return "other";
}

std::optional<std::string> RenderingName(Rendering rendering) {
    switch (rendering) {
        case Rendering::Hardware:
            return "hardware";
        case Rendering::Software:
            return "software";
        case Rendering::Unknown:
            break;
    }
    return std::nullopt;
}

std::optional<std::string> RenderingSourceName(RenderingSource source) {
    switch (source) {
        case RenderingSource::RendererInformation:
            return "renderer_information";
        case RenderingSource::RendererName:
            return "renderer_name";
        case RenderingSource::None:
            break;
    }
    return std::nullopt;
}

std::optional<std::string> MemoryKindName(std::optional<VideoMemoryKind> kind) {
    if (!kind) {
        return std::nullopt;
    }
    return *kind == VideoMemoryKind::Shared ? "shared" : "dedicated";
}

const char* SupportName(EditionSupport support) {
    switch (support) {
        case EditionSupport::Full:
            return "full";
        case EditionSupport::Limited:
            return "limited";
        case EditionSupport::SignificantLimitations:
            break;
    }
    return "significant_limitations";
}

const char* ProfilerStateName(ProfilerState state) {
    switch (state) {
        case ProfilerState::Running:
            return "running";
        case ProfilerState::Finished:
            return "finished";
        case ProfilerState::TimedOut:
            return "timed_out";
        case ProfilerState::LaunchFailed:
            return "launch_failed";
        case ProfilerState::ExitedWithError:
            return "exited_with_error";
        case ProfilerState::Crashed:
            break;
    }
    return "crashed";
}

void AddAssessment(JsonBuilder* builder, const Assessment& assessment) {
    Member(builder, "checks");
    json_builder_begin_object(builder);
    Boolean(builder, "offscreen", assessment.offscreen);
    Boolean(builder, "shadows", assessment.shadows);
    Boolean(builder, "lighting", assessment.lighting);
    Boolean(builder, "anti_aliasing", assessment.antiAliasing);
    json_builder_end_object(builder);
    Member(builder, "editions");
    json_builder_begin_object(builder);
    String(builder, "basic", SupportName(assessment.basic));
    String(builder, "advanced", SupportName(assessment.advanced));
    String(builder, "duo", SupportName(assessment.duo));
    json_builder_end_object(builder);
}

void AddProfiler(JsonBuilder* builder, const Facts& facts) {
    Member(builder, "display_profiler");
    json_builder_begin_object(builder);
    String(builder, "status", ProfilerStateName(facts.profiler.state));
    String(builder, "detail", NonEmpty(facts.profiler.detail));
    json_builder_end_object(builder);
    Member(builder, "display_controllers");
    json_builder_begin_array(builder);
    for (const DisplayController& device : facts.displayControllers) {
        json_builder_begin_object(builder);
        String(builder, "name", device.name);
        String(builder, "vendor", device.vendor);
        String(builder, "vendor_id", device.vendorId);
        String(builder, "device_id", device.deviceId);
        String(builder, "pci_address", device.pciAddress);
        String(builder, "driver", device.driver);
        String(builder, "memory", device.memory == kSharedVRAM ? "shared" : device.memory);
        Boolean(builder, "drives_screen", device.drivesScreen);
        json_builder_end_object(builder);
    }
    json_builder_end_array(builder);
}

}  // namespace

std::string FactsJson(const Facts& facts) {
    GObjectOwner<JsonBuilder> owner(json_builder_new());
    JsonBuilder* builder = owner.get();
    json_builder_begin_object(builder);
    String(builder, "version", facts.programVersion);
    String(builder, "operating_system", NonEmpty(facts.operatingSystem));
    String(builder, "kernel", NonEmpty(facts.kernelRelease));
    String(builder, "display_system", DisplaySystemName(facts.displaySystem));
    String(builder, "manufacturer", facts.vendor);
    String(builder, "renderer", facts.renderer);
    String(builder, "driver_version", facts.driverVersion);
    Member(builder, "video_memory_bytes");
    if (facts.videoMemoryBytes > 0) {
        json_builder_add_int_value(builder, facts.videoMemoryBytes);
    } else {
        json_builder_add_null_value(builder);
    }
    String(builder, "video_memory_kind", MemoryKindName(facts.videoMemoryKind));
    String(builder, "rendering", RenderingName(facts.rendering));
    String(builder, "rendering_source", RenderingSourceName(facts.renderingSource));
    Member(builder, "feature_mask");
    json_builder_add_int_value(builder, facts.featuresMask);
    AddAssessment(builder, facts.assessment);
    AddProfiler(builder, facts);
    json_builder_end_object(builder);

    GObjectOwner<JsonGenerator> generator(json_generator_new());
    JsonNode* root = json_builder_get_root(builder);
    json_generator_set_root(generator.get(), root);
    json_generator_set_pretty(generator.get(), TRUE);
    json_node_unref(root);
    gchar* text = json_generator_to_data(generator.get(), nullptr);
    std::string json = std::string(text) + "\n";
    g_free(text);
    return json;
}
