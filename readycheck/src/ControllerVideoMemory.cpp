// The profiler's end of run: the video-memory line learns whether the memory is shared.
#include "Controller.h"
#include "DisplayReport.h"
#include "FactsCollection.h"
#include "LocalizedStrings.h"
#include "StringFormat.h"
#include "TaskWrapper.h"

void Controller::processStarted(TaskWrapper* /*task*/) {}

void Controller::processFinished(TaskWrapper* /*task*/, bool success) {
    RecordProfilerRun(mFacts, *mProfileTask, success);
    if (!success) {
        return;
    }
    const std::optional<VideoMemoryKind> kind = mFacts.videoMemoryKind;
    if (!kind) {
        return;
    }
    const std::string current = oVRAM->stringValue();
    const std::string format =
        LocalizedString(*kind == VideoMemoryKind::Shared ? "VRAMShared" : "VRAMDedicated");
    oVRAM->setStringValue(StringWithFormat(format, {current}));
}
