// Start-up: the operating-system gate, the profiler launch, the probes and the first filling of
// the window.
#include "Controller.h"

#include "Alert.h"
#include "CauseTexts.h"
#include "FactsJson.h"
#include "LocalizedStrings.h"
#include "NotificationCenter.h"
#include "ProcessInfo.h"
#include "ReadableColors.h"
#include "ReportText.h"
#include "RunLoop.h"
#include "StringFormat.h"
#include "SystemVersion.h"
#include "TaskWrapper.h"

namespace {

constexpr double kStepDelay = 0.25;
// The build derives this from its install directories (bin to libexec, or wherever they are set).
constexpr const char* kProfilerFromProgram = "/" READYCHECK_PROFILER_FROM_PROGRAM;
constexpr const char* kCardProbeFromProgram = "/" READYCHECK_CARD_PROBE_FROM_PROGRAM;

// What a missing identity line shows.
std::string IdentityLine(const std::optional<std::string>& text) {
    return text ? *text : LocalizedString("IdentityUnknown");
}

}  // namespace

Controller::Controller(double cardProbeBound)
    : mSession(this, {cardProbePath()}, cardProbeBound, ReadCardJson) {}

Controller::~Controller() {
    // A runner still going stops through its own notice before this controller goes.
    NotificationCenter::defaultCenter().postNotificationName(
        kControllerDiedNotification, static_cast<TaskWrapperController*>(this));
    mBadColor.reset();
    mGoodColor.reset();
}

std::vector<ApplicationDelegate::Outlet> Controller::outlets() {
    return {{"oResultWindow", &oResultWindow},
            {"oCardManufacturer", &oCardManufacturer},
            {"oCardName", &oCardName},
            {"oDriverVersion", &oDriverVersion},
            {"oVRAM", &oVRAM},
            {"oHWOffLabel", &oHWOffLabel},
            {"oHWOffCheck", &oHWOffCheck},
            {"oShadowLabel", &oShadowLabel},
            {"oShadowCheck", &oShadowCheck},
            {"oHiResLightLabel", &oHiResLightLabel},
            {"oHiResLightCheck", &oHiResLightCheck},
            {"oAntiAliasLabel", &oAntiAliasLabel},
            {"oAntiAliasCheck", &oAntiAliasCheck},
            {"oBasicCircle", &oBasicCircle},
            {"oAdvancedCircle", &oAdvancedCircle},
            {"oDuoCircle", &oDuoCircle},
            {"oDuoBangButton", &oDuoBangButton},
            {"oRendering", &oRendering},
            {"oRenderingInfoButton", &oRenderingInfoButton},
            {"oCopyReportButton", &oCopyReportButton},
            {"oReportCopied", &oReportCopied},
            {"oOtherCards", &oOtherCards}};
}

std::vector<ApplicationDelegate::Action> Controller::actions() {
    const auto bind = [this](void (Controller::*action)(void*)) {
        return [this, action](void* sender) { (this->*action)(sender); };
    };
    return {{"doReviewResults:", bind(&Controller::doReviewResults)},
            {"doClose:", bind(&Controller::doClose)},
            {"doInfoHWOff:", bind(&Controller::doInfoHWOff)},
            {"doInfoShadow:", bind(&Controller::doInfoShadow)},
            {"doInfoHiResLight:", bind(&Controller::doInfoHiResLight)},
            {"doInfoAntiAlias:", bind(&Controller::doInfoAntiAlias)},
            {"doDuoPPL:", bind(&Controller::doDuoPPL)},
            {"doMoreAboutVersions:", bind(&Controller::doMoreAboutVersions)},
            {"doInfoRendering:", bind(&Controller::doInfoRendering)},
            {"doCopyReport:", bind(&Controller::doCopyReport)}};
}

std::string Controller::profilerPath() {
    return ExecutableDirectory() + kProfilerFromProgram;
}

std::string Controller::cardProbePath() {
    return ExecutableDirectory() + kCardProbeFromProgram;
}

void Controller::requireTigerOrBetter() {
    if (CheckSession::SystemSupported()) {
        return;
    }
    Alert alert;
    alert.setAlertStyle(kInformationalAlertStyle);
    alert.setMessageText(LocalizedString("OS_old"));
    alert.setInformativeText(
        StringWithFormat(LocalizedString("OS_old_detail"), {OperatingSystemVersionString()}));
    const std::size_t ok = alert.addButtonWithTitle(LocalizedString("GenericOKButtonTitle"));
    alert.setButtonKeyEquivalent(ok, "\r");
    alert.runModal();
    TerminateApplication();
}

void Controller::applicationDidFinishLaunching() {
    requireTigerOrBetter();
    std::vector<std::string> arguments{profilerPath(), "-detailLevel", "mini", "-xml"};
    mProfileTask = mSession.createProfiler(std::move(arguments));
    mProfileTask->startProcess();
    mSession.probeDriver();
    initMainWindow();
    oResultWindow->center();
    oResultWindow->makeKeyAndOrderFront();
    scheduleNext(&Controller::showCheck1);
    mSession.describeSystem();
    mSession.explainResult();
    showCauses();
}

void Controller::initMainWindow() {
    mGoodColor = Color::colorWithCalibratedRed(0.0F, 0.7F, 0.0F, 1.0F);
    mBadColor = Color::colorWithCalibratedRed(0.7F, 0.0F, 0.0F, 1.0F);
    // The same hues, where a dark or high-contrast theme needs them lighter or darker to read.
    const ThemeColors theme = oResultWindow->themeColors();
    mGoodColor = ReadableColor(*mGoodColor, theme);
    mBadColor = ReadableColor(*mBadColor, theme);
    oCardManufacturer->setStringValue(IdentityLine(mVendorName));
    oCardName->setStringValue(IdentityLine(mCardName));
    oDriverVersion->setStringValue(IdentityLine(mDriverVersion));
    oVRAM->setStringValue(VideoMemoryText(mSession.measureVideoMemory()));
    showRendering();
    oHWOffCheck->setHidden(true);
    oShadowCheck->setHidden(true);
    oHiResLightCheck->setHidden(true);
    oAntiAliasCheck->setHidden(true);
    oCopyReportButton->setTitle(LocalizedString("CopyReport"));
}

void Controller::showRendering() {
    const Rendering rendering = facts().rendering;
    oRenderingInfoButton->setHidden(rendering != Rendering::Software);
    oRendering->setStringValue(RenderingText(rendering));
    if (rendering == Rendering::Software) {
        oRendering->setTextColor(*mBadColor);
    }
}

// The rendering's line and its button say why software draws, as its alert does.
void Controller::showCauses() {
    if (facts().rendering == Rendering::Software) {
        const std::string why = FirstCauseLine(facts().causes);
        oRendering->setAccessibleDescription(why);
        oRenderingInfoButton->setAccessibleDescription(why);
    }
}

void Controller::scheduleNext(void (Controller::*step)()) {
    RunLoop::main().performAfterDelay([this, step] { (this->*step)(); }, kStepDelay);
}
