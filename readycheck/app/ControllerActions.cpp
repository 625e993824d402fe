// The information alerts and the window's actions.
#include <algorithm>
#include <iterator>

#include "Alert.h"
#include "Assessment.h"
#include "CauseTexts.h"
#include "Controller.h"
#include "LocalizedStrings.h"
#include "StringFormat.h"
#include "Workspace.h"

namespace {

// Scheme and host only; the packager sets it at build time.
constexpr const char* kMakerWebSite = READYCHECK_MAKER_URL;
constexpr const char* kLightingAndShadowsPage = "/scenegrade/lighting_and_shadows.html";
constexpr const char* kEditionComparisonPage = "/scenegrade/version_3_features_table.html";

// The explanations of a check that failed, and of software rendering.
const std::string kFailureDetails[] = {"InfoHWOffFail_detail", "InfoShadowFail_detail",
                                       "InfoHiResLightFail_detail", "InfoAAFail_detail",
                                       "SoftwareRendering_detail"};

std::string MakerPage(const char* path) {
    return std::string(kMakerWebSite) + path;
}

}  // namespace

// An explanation of a result that is not ready starts with what was found on this computer.
Alert Controller::makeInfoAlert(const std::string& mainKey, const std::string& detailKey) const {
    const std::vector<Cause>& causes = facts().causes;
    const bool explainsFailure = std::find(std::begin(kFailureDetails), std::end(kFailureDetails),
                                           detailKey) != std::end(kFailureDetails);
    Alert alert;
    alert.setAlertStyle(kInformationalAlertStyle);
    alert.setMessageText(LocalizedString(mainKey));
    alert.setInformativeText(explainsFailure && !causes.empty()
                                 ? CausesParagraphs(causes) + "\n\n" + LocalizedString(detailKey)
                                 : LocalizedString(detailKey));
    const std::size_t ok = alert.addButtonWithTitle(LocalizedString("GenericOKButtonTitle"));
    alert.setButtonKeyEquivalent(ok, "\r");
    return alert;
}

void Controller::runInfoAlertWithMainKey(const std::string& mainKey, const std::string& detailKey) {
    makeInfoAlert(mainKey, detailKey).runModal();
}

void Controller::runInfoAlertWithMainKey(const std::string& mainKey, const std::string& detailKey,
                                         const std::string& webURL) {
    Alert alert = makeInfoAlert(mainKey, detailKey);
    const std::size_t cancel =
        alert.addButtonWithTitle(LocalizedString("GenericCancelButtonTitle"));
    alert.setButtonKeyEquivalent(cancel, "\x1b");
    if (alert.runModal() == kAlertFirstButtonReturn) {
        openPage(webURL);
    }
}

void Controller::openPage(const std::string& webURL) const {
    if (OpenURL(webURL)) {
        return;
    }
    Alert alert = makeInfoAlert("PageNotOpened", "PageNotOpened_detail");
    alert.setInformativeText(StringWithFormat(alert.informativeText(), {webURL}));
    alert.runModal();
}

void Controller::doClose(void* /*sender*/) {
    TerminateApplication();
}

void Controller::doInfoHWOff(void* /*sender*/) {
    if (Verdicts::offscreenPasses(mFeaturesMask)) {
        runInfoAlertWithMainKey("InfoHWOffPass", "InfoHWOffPass_detail");
    } else {
        runInfoAlertWithMainKey("InfoHWOffFail", "InfoHWOffFail_detail");
    }
}

void Controller::doInfoShadow(void* /*sender*/) {
    if (Verdicts::shadowsPass(mFeaturesMask)) {
        runInfoAlertWithMainKey("InfoShadowPass", "InfoShadowPass_detail");
    } else {
        runInfoAlertWithMainKey("InfoShadowFail", "InfoShadowFail_detail",
                                MakerPage(kLightingAndShadowsPage));
    }
}

void Controller::doInfoHiResLight(void* /*sender*/) {
    if (Verdicts::lightingPasses(mFeaturesMask)) {
        runInfoAlertWithMainKey("InfoHiResLightPass", "InfoHiResLightPass_detail");
    } else {
        runInfoAlertWithMainKey("InfoHiResLightFail", "InfoHiResLightFail_detail",
                                MakerPage(kLightingAndShadowsPage));
    }
}

void Controller::doInfoAntiAlias(void* /*sender*/) {
    if (Verdicts::antiAliasingPasses(mFeaturesMask)) {
        runInfoAlertWithMainKey("InfoAAPass", "InfoAAPass_detail");
    } else {
        runInfoAlertWithMainKey("InfoAAFail", "InfoAAFail_detail");
    }
}

void Controller::doDuoPPL(void* /*sender*/) {
    runInfoAlertWithMainKey("DuoNoPPL", "DuoNoPPL_detail");
}

void Controller::doMoreAboutVersions(void* /*sender*/) {
    openPage(MakerPage(kEditionComparisonPage));
}

void Controller::doInfoRendering(void* /*sender*/) {
    runInfoAlertWithMainKey("SoftwareRendering", "SoftwareRendering_detail");
}
