#include "FactsJson.h"

#include <json-glib/json-glib.h>

#include <limits>
#include <memory>

namespace {

constexpr const char* kSharedVRAM = "spdisplays_integrated_vram";

// The version of the JSON's shape, which the installed JSON Schema describes: fields are only
// ever added; a renamed or removed field, or a changed type, raises it.
constexpr int kSchemaVersion = 1;

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

void Schema(JsonBuilder* builder) {
    Member(builder, "schema");
    json_builder_add_int_value(builder, kSchemaVersion);
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

// The fields one probe of a card gives; all of them null where the card has no result of its own.
void AddCardFields(JsonBuilder* builder, const CardFacts* card) {
    const CardFacts none;
    const CardFacts& facts = card != nullptr ? *card : none;
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
    if (card != nullptr) {
        json_builder_add_int_value(builder, facts.featuresMask);
        AddAssessment(builder, facts.assessment);
        return;
    }
    json_builder_add_null_value(builder);
    for (const char* name : {"checks", "editions"}) {
        Member(builder, name);
        json_builder_add_null_value(builder);
    }
}

const char* CardStatusName(CardStatus status) {
    switch (status) {
        case CardStatus::Checked:
            return "checked";
        case CardStatus::NotReachable:
            return "not_reachable";
        case CardStatus::Waiting:
        case CardStatus::Checking:
        case CardStatus::Failed:
            break;
    }
    return "failed";  // a check still going when the facts were written gave no answer
}

std::optional<std::string> CardCauseName(CardCause cause) {
    switch (cause) {
        case CardCause::None:
            break;
        case CardCause::OffloadNotSetUp:
            return "offload_not_set_up";
        case CardCause::DriverMissing:
            return "driver_missing";
        case CardCause::TimedOut:
            return "timed_out";
        case CardCause::Crashed:
            return "crashed";
        case CardCause::ExitedWithError:
            return "exited_with_error";
        case CardCause::LaunchFailed:
            return "launch_failed";
        case CardCause::Unreadable:
            return "unreadable_answer";
    }
    return std::nullopt;
}

void AddOtherCards(JsonBuilder* builder, const std::vector<OtherCard>& cards) {
    Member(builder, "other_cards");
    json_builder_begin_array(builder);
    for (const OtherCard& card : cards) {
        json_builder_begin_object(builder);
        String(builder, "name", card.name);
        Member(builder, "environment");
        json_builder_begin_object(builder);
        for (const auto& [name, value] : card.environment) {
            String(builder, name.c_str(), value);
        }
        json_builder_end_object(builder);
        Boolean(builder, "desktop_menu", card.listedByDesktop);
        String(builder, "status", CardStatusName(card.status));
        String(builder, "reason", CardCauseName(card.cause));
        String(builder, "detail", NonEmpty(card.detail));
        AddCardFields(builder, card.status == CardStatus::Checked ? &card.facts : nullptr);
        json_builder_end_object(builder);
    }
    json_builder_end_array(builder);
}

std::string Generate(JsonBuilder* builder) {
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

// Reading back what AddCardFields wrote: every field present, each of the type written; a
// name is read through the same table that wrote it.
class CardReader {
public:
    explicit CardReader(JsonObject* object) : mObject(object) {}
    bool valid() const { return mValid; }

    std::optional<std::string> string(const char* name) {
        JsonNode* node = valueOf(name, G_TYPE_STRING);
        return node != nullptr ? std::optional<std::string>(json_node_get_string(node))
                               : std::nullopt;
    }

    std::optional<int64_t> integer(const char* name) {
        JsonNode* node = valueOf(name, G_TYPE_INT64);
        return node != nullptr ? std::optional<int64_t>(json_node_get_int(node)) : std::nullopt;
    }

    // The value whose name the writer gives as the member's text; the fallback for null.
    template <typename T, std::size_t N>
    T named(const char* name, std::optional<std::string> (*write)(T), const T (&values)[N],
            T fallback) {
        const std::optional<std::string> text = string(name);
        for (const T value : values) {
            if (write(value) == text) {
                return value;
            }
        }
        mValid = mValid && !text;
        return fallback;
    }

private:
    // The member's node where it holds a value of the type; null for a null member, and for a
    // value of another type, which makes the reading invalid.
    JsonNode* valueOf(const char* name, GType type) {
        JsonNode* node = member(name);
        if (node == nullptr || JSON_NODE_HOLDS_NULL(node)) {
            return nullptr;
        }
        if (json_node_get_value_type(node) != type) {
            mValid = false;
            return nullptr;
        }
        return node;
    }

    JsonNode* member(const char* name) {
        JsonNode* node = mObject != nullptr ? json_object_get_member(mObject, name) : nullptr;
        const bool isValue =
            node != nullptr && (JSON_NODE_HOLDS_VALUE(node) || JSON_NODE_HOLDS_NULL(node));
        mValid = mValid && isValue;
        return isValue ? node : nullptr;
    }

    JsonObject* mObject;
    bool mValid = true;
};

std::optional<CardFacts> ReadCard(JsonObject* object) {
    CardReader read(object);
    CardFacts card;
    card.vendor = read.string("manufacturer");
    card.renderer = read.string("renderer");
    card.driverVersion = read.string("driver_version");
    card.videoMemoryBytes = read.integer("video_memory_bytes").value_or(0);
    card.rendering = read.named("rendering", RenderingName,
                                {Rendering::Hardware, Rendering::Software}, Rendering::Unknown);
    card.renderingSource =
        read.named("rendering_source", RenderingSourceName,
                   {RenderingSource::RendererInformation, RenderingSource::RendererName},
                   RenderingSource::None);
    const std::optional<int64_t> mask = read.integer("feature_mask");
    if (!read.valid() || !mask || *mask < 0 || *mask > std::numeric_limits<int32_t>::max() ||
        card.videoMemoryBytes < 0) {
        return std::nullopt;
    }
    card.featuresMask = static_cast<int32_t>(*mask);
    card.assessment = Assess(card.featuresMask);
    return card;
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
    Schema(builder);
    String(builder, "version", facts.programVersion);
    String(builder, "operating_system", NonEmpty(facts.operatingSystem));
    String(builder, "kernel", NonEmpty(facts.kernelRelease));
    String(builder, "display_system", DisplaySystemName(facts.displaySystem));
    AddCardFields(builder, &facts);
    AddProfiler(builder, facts);
    AddOtherCards(builder, facts.otherCards);
    json_builder_end_object(builder);
    return Generate(builder);
}

std::string CardJson(const CardFacts& card) {
    GObjectOwner<JsonBuilder> owner(json_builder_new());
    JsonBuilder* builder = owner.get();
    json_builder_begin_object(builder);
    Schema(builder);
    AddCardFields(builder, &card);
    json_builder_end_object(builder);
    return Generate(builder);
}

std::optional<CardFacts> ReadCardJson(std::string_view text) {
    GObjectOwner<JsonParser> parser(json_parser_new());
    GError* error = nullptr;
    if (json_parser_load_from_data(parser.get(), text.data(), static_cast<gssize>(text.size()),
                                   &error) == FALSE) {
        g_clear_error(&error);
        return std::nullopt;
    }
    JsonNode* root = json_parser_get_root(parser.get());
    if (root == nullptr || !JSON_NODE_HOLDS_OBJECT(root)) {
        return std::nullopt;
    }
    return ReadCard(json_node_get_object(root));
}
