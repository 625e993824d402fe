// "Copy Report": the window's results as text on the clipboard, and a short confirmation.
#include "Clipboard.h"
#include "Controller.h"
#include "LocalizedStrings.h"
#include "ReportText.h"
#include "RunLoop.h"

namespace {

constexpr double kConfirmationSeconds = 3.0;

}  // namespace

void Controller::doCopyReport(void* /*sender*/) {
    SetClipboardText(ReportText(facts()));
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
