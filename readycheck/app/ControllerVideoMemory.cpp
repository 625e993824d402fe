// The profiler's end of run: the video-memory line learns whether the memory is shared.
#include "Controller.h"
#include "LocalizedStrings.h"
#include "StringFormat.h"

void Controller::processStarted(TaskWrapper* /*task*/) {}

// Each runner's end by the runner: a card's probe as such, else the profiler's. Both runners are
// alive when compared, so a runner made at a gone one's address is never taken for it.
void Controller::processFinished(TaskWrapper* task, bool success) {
    if (mSession.isCardProbe(task)) {
        mSession.cardProbeFinished(task, success);
        return;
    }
    profilerFinished(success);
    mProfileTask = nullptr;  // the runner goes once this returns
    mSession.checkOtherCards([this] { showOtherCards(); });
}

void Controller::profilerFinished(bool success) {
    const std::optional<VideoMemoryKind> kind = mSession.profilerFinished(*mProfileTask, success);
    if (!kind) {
        return;
    }
    const std::string current = oVRAM->stringValue();
    const std::string format =
        LocalizedString(*kind == VideoMemoryKind::Shared ? "VRAMShared" : "VRAMDedicated");
    oVRAM->setStringValue(StringWithFormat(format, {current}));
}
