// switcheroo-control's GPUs property read from the value the bus gives.
#pragma once

#include <glib.h>

#include <optional>
#include <vector>

#include "SwitcherooControl.h"

// The GPUs of an "aa{sv}" value: each dictionary a GPU, one without a name or an environment no
// GPU to offer. None for a value of another type, as for no answer: the service is not one to
// trust then.
std::optional<std::vector<ListedGpu>> ReadGpus(GVariant* gpus);
