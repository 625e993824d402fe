#include "SwitcherooGpus.h"

namespace {

std::optional<bool> Boolean(GVariant* dictionary, const char* key) {
    gboolean value = FALSE;
    if (g_variant_lookup(dictionary, key, "b", &value) == FALSE) {
        return std::nullopt;
    }
    return value != FALSE;
}

}  // namespace

std::optional<std::vector<ListedGpu>> ReadGpus(GVariant* gpus) {
    if (gpus == nullptr || !g_variant_is_of_type(gpus, G_VARIANT_TYPE("aa{sv}"))) {
        return std::nullopt;
    }
    std::vector<ListedGpu> listed;
    GVariantIter iterator;
    g_variant_iter_init(&iterator, gpus);
    for (GVariant* gpu = nullptr; (gpu = g_variant_iter_next_value(&iterator)) != nullptr;
         g_variant_unref(gpu)) {
        const gchar* name = nullptr;
        GVariant* environment = g_variant_lookup_value(gpu, "Environment", G_VARIANT_TYPE("as"));
        if (g_variant_lookup(gpu, "Name", "&s", &name) == FALSE || environment == nullptr) {
            if (environment != nullptr) {
                g_variant_unref(environment);
            }
            continue;
        }
        ListedGpu entry{name,
                        {},
                        Boolean(gpu, "Default").value_or(false),
                        Boolean(gpu, "Discrete").value_or(false)};
        gsize count = 0;
        const gchar** strings = g_variant_get_strv(environment, &count);
        entry.environment.assign(strings, strings + count);
        g_free(static_cast<gpointer>(strings));
        g_variant_unref(environment);
        listed.push_back(std::move(entry));
    }
    return listed;
}
