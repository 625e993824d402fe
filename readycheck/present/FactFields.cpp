#include "FactFields.h"

#include <cstddef>
#include <iterator>
#include <utility>

#include "Facts.h"

// Converts to any member's type, so that T{Any, Any, ...} compiles exactly while there is a
// member (or base) left for each. Declared, never defined: it is only named where nothing runs.
struct AnyMember {
    template <typename T>
    operator T() const;  // NOLINT(google-explicit-constructor)
};

namespace {

template <typename T, std::size_t... I>
constexpr bool InitialisedBy(std::index_sequence<I...> /*members*/) {
    return requires {
        T{(static_cast<void>(I), AnyMember{})...};
    };
}

// The number of an aggregate's members, its base counting as one.
template <typename T, std::size_t N = 0>
constexpr std::size_t MemberCount() {
    if constexpr (InitialisedBy<T>(std::make_index_sequence<N + 1>{})) {
        return MemberCount<T, N + 1>();
    } else {
        return N;
    }
}

// A card's fields are its members but its assessment, which has fields of its own; the facts add
// the system's and the machine's fields to the card's, which they hold as their base.
static_assert(std::size(kCardFields) == MemberCount<CardFacts>() - 1,
              "a member of CardFacts is missing from the field list");
static_assert(std::size(kAssessmentFields) == MemberCount<Assessment>(),
              "a member of Assessment is missing from the field list");
static_assert(std::size(kSystemFields) + std::size(kMachineFields) == MemberCount<Facts>() - 1,
              "a member of Facts is missing from the field list");
static_assert(std::size(kProfilerFields) == MemberCount<ProfilerRun>(),
              "a member of ProfilerRun is missing from the field list");
static_assert(std::size(kControllerFields) == MemberCount<DisplayController>(),
              "a member of DisplayController is missing from the field list");
static_assert(std::size(kCauseFields) == MemberCount<Cause>(),
              "a member of Cause is missing from the field list");
// The card's own probe follows its other fields, as the card's fields.
static_assert(std::size(kOtherCardFields) == MemberCount<OtherCard>() - 1,
              "a member of OtherCard is missing from the field list");

}  // namespace

const char* FieldNameOf(CardField field) {
    for (const auto& entry : kCardFields) {
        if (entry.field == field) {
            return entry.name;
        }
    }
    return "";
}
