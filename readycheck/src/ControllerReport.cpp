// "Copy Report": the window's results as text on the clipboard, and a short confirmation.
#include "Clipboard.h"
#include "Controller.h"
#include "LocalizedStrings.h"
#include "ReportText.h"
#include "RunLoop.h"
#include "SystemDescription.h"

namespace {

constexpr double kConfirmationSeconds = 3.0;

}  // namespace

ReportInputs Controller::reportInputs() const {
    ReportInputs inputs;
    inputs.programVersion = READYCHECK_VERSION;
    inputs.osRelease = OsReleaseText();
    inputs.kernelRelease = RunningKernelRelease();
    inputs.displaySystem = CurrentDisplaySystem();
    inputs.vendor = mVendorName;
    inputs.renderer = mCardName;
    inputs.driverVersion = mDriverVersion;
    inputs.videoMemoryLine = oVRAM->stringValue();
    inputs.renderingLine = oRendering->stringValue();
    inputs.featuresMask = mFeaturesMask;
    inputs.displayDevices = mDisplayDevices;
    return inputs;
}

void Controller::doCopyReport(void* /*sender*/) {
    SetClipboardText(ReportText(reportInputs()));
    oReportCopied->setStringValue(LocalizedString("ReportCopied"));
    oReportCopied->announceStringValue();
    const uint64_t copy = ++mReportCopies;
    RunLoop::main().performAfterDelay(
        [this, copy] {
            if (copy == mReportCopies) {
                oReportCopied->setStringValue("");
            }
        },
        kConfirmationSeconds);
}
