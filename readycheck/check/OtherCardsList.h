// Which graphics cards a program can be started on besides the one a normal start uses, and the
// environment that starts it on each.
#pragma once

#include <string>
#include <vector>

#include "DisplayReport.h"
#include "Facts.h"
#include "SwitcherooControl.h"

// Every GPU but the default ones, with the environment switcheroo-control gives it; a name
// left without a value is dropped. Where none is marked default, the one that needs no variable
// is, else the one that the profiler's devices say drives the screen (its DRI_PRIME address or its
// name).
std::vector<OtherCard> OtherCardsFromSwitcheroo(const std::vector<ListedGpu>& gpus,
                                                const std::vector<DisplayController>& devices);

// Without switcheroo-control: every device entry but the one driving the screen, with the
// environment the desktops give such a card: NVIDIA's own offload variables for its driver,
// DRI_PRIME with the PCI address for Mesa's. An entry without a readable PCI address cannot be
// named to Mesa and is left out, unless NVIDIA's driver runs it.
std::vector<OtherCard> OtherCardsFromDevices(const std::vector<DisplayController>& devices);
