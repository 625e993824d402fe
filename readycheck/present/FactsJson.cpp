#include "FactsJson.h"

#include <json-glib/json-glib.h>

#include <limits>
#include <memory>
#include <string_view>

#include "CauseTexts.h"
#include "FactFields.h"

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

// JSON is UTF-8: a driver's or the PCI database's bytes that are not become U+FFFD, each
// sequence one, as the window shows them.
std::string ValidText(std::string_view text) {
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    std::string result(valid);
    g_free(valid);
    return result;
}

void Member(JsonBuilder* builder, const char* name) {
    json_builder_set_member_name(builder, ValidText(name).c_str());
}

void String(JsonBuilder* builder, const char* name, const std::optional<std::string>& value) {
    Member(builder, name);
    if (value) {
        json_builder_add_string_value(builder, ValidText(*value).c_str());
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
        case ProfilerState::OutputTooLarge:
            return "output_too_large";
        case ProfilerState::Crashed:
            break;
    }
    return "crashed";
}

void Integer(JsonBuilder* builder, const char* name, std::optional<int64_t> value) {
    Member(builder, name);
    if (value) {
        json_builder_add_int_value(builder, *value);
    } else {
        json_builder_add_null_value(builder);
    }
}

void AddCardField(JsonBuilder* builder, const FieldName<CardField>& entry, const CardFacts& card) {
    switch (entry.field) {
        case CardField::Manufacturer:
            return String(builder, entry.name, card.vendor);
        case CardField::Renderer:
            return String(builder, entry.name, card.renderer);
        case CardField::DriverVersion:
            return String(builder, entry.name, card.driverVersion);
        case CardField::VideoMemoryBytes:
            return Integer(
                builder, entry.name,
                card.videoMemoryBytes > 0 ? std::optional(card.videoMemoryBytes) : std::nullopt);
        case CardField::VideoMemoryKind:
            return String(builder, entry.name, MemoryKindName(card.videoMemoryKind));
        case CardField::Rendering:
            return String(builder, entry.name, RenderingName(card.rendering));
        case CardField::RenderingSource:
            return String(builder, entry.name, RenderingSourceName(card.renderingSource));
        case CardField::FeatureMask:
            return Integer(builder, entry.name, card.featuresMask);
    }
}

void AddAssessmentField(JsonBuilder* builder, const FieldName<AssessmentField>& entry,
                        const Assessment& assessment) {
    switch (entry.field) {
        case AssessmentField::Offscreen:
            return Boolean(builder, entry.name, assessment.offscreen);
        case AssessmentField::Shadows:
            return Boolean(builder, entry.name, assessment.shadows);
        case AssessmentField::Lighting:
            return Boolean(builder, entry.name, assessment.lighting);
        case AssessmentField::AntiAliasing:
            return Boolean(builder, entry.name, assessment.antiAliasing);
        case AssessmentField::Basic:
            return String(builder, entry.name, SupportName(assessment.basic));
        case AssessmentField::Advanced:
            return String(builder, entry.name, SupportName(assessment.advanced));
        case AssessmentField::Duo:
            return String(builder, entry.name, SupportName(assessment.duo));
    }
}

bool SameGroup(const char* first, const char* second) {
    return first == nullptr || second == nullptr ? first == second
                                                 : std::string_view(first) == second;
}

// The assessment's groups, each an object of its name; a card without a result of its own has a
// null in each group's place.
void AddAssessment(JsonBuilder* builder, const Assessment* assessment) {
    const char* group = nullptr;
    for (const auto& entry : kAssessmentFields) {
        if (!SameGroup(entry.group, group)) {
            if (group != nullptr && assessment != nullptr) {
                json_builder_end_object(builder);
            }
            group = entry.group;
            Member(builder, group);
            if (assessment == nullptr) {
                json_builder_add_null_value(builder);
            } else {
                json_builder_begin_object(builder);
            }
        }
        if (assessment != nullptr) {
            AddAssessmentField(builder, entry, *assessment);
        }
    }
    if (assessment != nullptr) {
        json_builder_end_object(builder);
    }
}

// The fields one probe of a card gives; all of them null where the card has no result of its own.
void AddCardFields(JsonBuilder* builder, const CardFacts* card) {
    for (const auto& entry : kCardFields) {
        if (card != nullptr) {
            AddCardField(builder, entry, *card);
        } else {
            Member(builder, entry.name);
            json_builder_add_null_value(builder);
        }
    }
    AddAssessment(builder, card != nullptr ? &card->assessment : nullptr);
}

void AddCauseField(JsonBuilder* builder, const FieldName<CauseField>& entry, const Cause& cause) {
    switch (entry.field) {
        case CauseField::Id:
            return String(builder, entry.name, CauseIdName(cause.id));
        case CauseField::Evidence:
            Member(builder, entry.name);
            json_builder_begin_object(builder);
            for (const auto& [name, value] : cause.evidence) {
                String(builder, name.c_str(), value);
            }
            json_builder_end_object(builder);
            return;
        case CauseField::Found:  // a sentence for people; scripts read the evidence
            return;
        case CauseField::Advice:
            return String(builder, entry.name, CauseAdviceInEnglish(cause));
    }
}

void AddCauses(JsonBuilder* builder, const char* name, const std::vector<Cause>& causes) {
    Member(builder, name);
    json_builder_begin_array(builder);
    for (const Cause& cause : causes) {
        json_builder_begin_object(builder);
        for (const auto& entry : kCauseFields) {
            AddCauseField(builder, entry, cause);
        }
        json_builder_end_object(builder);
    }
    json_builder_end_array(builder);
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
        case CardCause::OutOfTime:
            return "not_checked_in_time";
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

void AddOtherCardField(JsonBuilder* builder, const FieldName<OtherCardField>& entry,
                       const OtherCard& card) {
    switch (entry.field) {
        case OtherCardField::Name:
            return String(builder, entry.name, card.name);
        case OtherCardField::Variables:
            Member(builder, entry.name);
            json_builder_begin_object(builder);
            for (const auto& [name, value] : card.environment) {
                String(builder, name.c_str(), value);
            }
            json_builder_end_object(builder);
            return;
        case OtherCardField::DesktopMenu:
            return Boolean(builder, entry.name, card.listedByDesktop);
        case OtherCardField::Status:
            return String(builder, entry.name, CardStatusName(card.status));
        case OtherCardField::Reason:
            return String(builder, entry.name, CardCauseName(card.cause));
        case OtherCardField::Detail:
            return String(builder, entry.name, NonEmpty(card.detail));
        case OtherCardField::Causes:
            return AddCauses(builder, entry.name, card.causes);
    }
}

void AddOtherCards(JsonBuilder* builder, const std::vector<OtherCard>& cards) {
    json_builder_begin_array(builder);
    for (const OtherCard& card : cards) {
        json_builder_begin_object(builder);
        for (const auto& entry : kOtherCardFields) {
            AddOtherCardField(builder, entry, card);
        }
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
    card.vendor = read.string(FieldNameOf(CardField::Manufacturer));
    card.renderer = read.string(FieldNameOf(CardField::Renderer));
    card.driverVersion = read.string(FieldNameOf(CardField::DriverVersion));
    card.videoMemoryBytes = read.integer(FieldNameOf(CardField::VideoMemoryBytes)).value_or(0);
    card.rendering = read.named(FieldNameOf(CardField::Rendering), RenderingName,
                                {Rendering::Hardware, Rendering::Software}, Rendering::Unknown);
    card.renderingSource =
        read.named(FieldNameOf(CardField::RenderingSource), RenderingSourceName,
                   {RenderingSource::RendererInformation, RenderingSource::RendererName},
                   RenderingSource::None);
    const std::optional<int64_t> mask = read.integer(FieldNameOf(CardField::FeatureMask));
    if (!read.valid() || !mask || *mask < 0 || *mask > std::numeric_limits<int32_t>::max() ||
        card.videoMemoryBytes < 0) {
        return std::nullopt;
    }
    card.featuresMask = static_cast<int32_t>(*mask);
    card.assessment = Assess(card.featuresMask);
    return card;
}

void AddProfiler(JsonBuilder* builder, const ProfilerRun& run) {
    json_builder_begin_object(builder);
    for (const auto& entry : kProfilerFields) {
        switch (entry.field) {
            case ProfilerField::Status:
                String(builder, entry.name, ProfilerStateName(run.state));
                break;
            case ProfilerField::Detail:
                String(builder, entry.name, NonEmpty(run.detail));
                break;
        }
    }
    json_builder_end_object(builder);
}

void AddControllerField(JsonBuilder* builder, const FieldName<ControllerField>& entry,
                        const DisplayController& device) {
    switch (entry.field) {
        case ControllerField::Name:
            return String(builder, entry.name, device.name);
        case ControllerField::Vendor:
            return String(builder, entry.name, device.vendor);
        case ControllerField::VendorId:
            return String(builder, entry.name, device.vendorId);
        case ControllerField::DeviceId:
            return String(builder, entry.name, device.deviceId);
        case ControllerField::PciAddress:
            return String(builder, entry.name, device.pciAddress);
        case ControllerField::Driver:
            return String(builder, entry.name, device.driver);
        case ControllerField::Memory:
            return String(builder, entry.name,
                          device.memory == kSharedVRAM ? "shared" : device.memory);
        case ControllerField::DrivesScreen:
            return Boolean(builder, entry.name, device.drivesScreen);
    }
}

void AddControllers(JsonBuilder* builder, const std::vector<DisplayController>& devices) {
    json_builder_begin_array(builder);
    for (const DisplayController& device : devices) {
        json_builder_begin_object(builder);
        for (const auto& entry : kControllerFields) {
            AddControllerField(builder, entry, device);
        }
        json_builder_end_object(builder);
    }
    json_builder_end_array(builder);
}

void AddSystemField(JsonBuilder* builder, const FieldName<SystemField>& entry, const Facts& facts) {
    switch (entry.field) {
        case SystemField::Version:
            return String(builder, entry.name, facts.programVersion);
        case SystemField::OperatingSystem:
            return String(builder, entry.name, NonEmpty(facts.operatingSystem));
        case SystemField::Kernel:
            return String(builder, entry.name, NonEmpty(facts.kernelRelease));
        case SystemField::DisplaySystem:
            return String(builder, entry.name, DisplaySystemName(facts.displaySystem));
    }
}

void AddMachineField(JsonBuilder* builder, const FieldName<MachineField>& entry,
                     const Facts& facts) {
    switch (entry.field) {
        case MachineField::Causes:
            return AddCauses(builder, entry.name, facts.causes);
        case MachineField::DisplayProfiler:
            Member(builder, entry.name);
            return AddProfiler(builder, facts.profiler);
        case MachineField::DisplayControllers:
            Member(builder, entry.name);
            return AddControllers(builder, facts.displayControllers);
        case MachineField::OtherCards:
            Member(builder, entry.name);
            return AddOtherCards(builder, facts.otherCards);
    }
}

}  // namespace

std::string FactsJson(const Facts& facts) {
    GObjectOwner<JsonBuilder> owner(json_builder_new());
    JsonBuilder* builder = owner.get();
    json_builder_begin_object(builder);
    Schema(builder);
    for (const auto& entry : kSystemFields) {
        AddSystemField(builder, entry, facts);
    }
    AddCardFields(builder, &facts);
    for (const auto& entry : kMachineFields) {
        AddMachineField(builder, entry, facts);
    }
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
